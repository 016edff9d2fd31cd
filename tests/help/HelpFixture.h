#pragma once
// A started main window with scripted message boxes, and a helper that acts
// on a modal dialog while it is open, for the help tests.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace helptest {

// Runs `act` once on the first modal widget of type T that shows while it
// lives; one still open after the time limit is rejected, so that a test
// that goes wrong ends instead of waiting for a user.
template <class T>
class WhenModal {
public:
    explicit WhenModal(std::function<void(T*)> act, int limitMs = 10000) : m_timer(new QTimer)
    {
        m_timer->setInterval(20);
        QObject::connect(m_timer, &QTimer::timeout, [this, act = std::move(act), limitMs] {
            QWidget* modal = QApplication::activeModalWidget();
            if (T* wanted = qobject_cast<T*>(modal)) {
                m_timer->stop();
                m_answered = true;
                act(wanted);
                return;
            }
            m_waited += 20;
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

struct Fixture {
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<frmMain> main;

    void start()
    {
        stop();
        testenv::clearSettings();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(QString());
        main->show();
        QApplication::processEvents();
    }

    void stop()
    {
        main.reset();
        boxes.reset();
    }

    RichTextBox* text() const { return main->ActiveDocument()->txtText; }
};

}  // namespace helptest
