#pragma once
// Runs `act` on the first modal widget of type T that shows while it lives.
// One still open after the time limit is rejected, so a test that goes wrong
// ends instead of waiting for a user.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace testsupport {

template <class T>
class WhenModal {
public:
    // A step of 0 looks at every turn of the event loop, for windows that
    // are up only for moments.
    explicit WhenModal(std::function<void(T*)> act, int limitMs = 10000, int stepMs = 20) : m_timer(new QTimer)
    {
        m_timer->setInterval(stepMs);
        QObject::connect(m_timer, &QTimer::timeout, [this, act = std::move(act), limitMs, stepMs] {
            QWidget* modal = QApplication::activeModalWidget();
            if (T* wanted = qobject_cast<T*>(modal)) {
                m_timer->stop();
                m_answered = true;
                act(wanted);
                return;
            }
            m_waited += std::max(stepMs, 1);
            if (m_waited > limitMs) {
                m_timer->stop();
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            }
        });
        m_timer->start();
    }
    ~WhenModal() { delete m_timer; }
    WhenModal(const WhenModal&) = delete;
    WhenModal& operator=(const WhenModal&) = delete;

    bool answered() const { return m_answered; }

private:
    QTimer* m_timer;
    int m_waited = 0;
    bool m_answered = false;
};

}  // namespace testsupport
