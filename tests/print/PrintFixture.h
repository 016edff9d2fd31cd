#pragma once
// Shared by the printing tests: a main window with one document, the page
// settings store, and a helper that acts on a modal dialog once it shows.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "print/PageSettings.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace print_test {

inline const QString Missing = QStringLiteral("<missing>");

inline QString stored(const char* key)
{
    return GetSetting(AppTitle, PageSetupSection, QString::fromLatin1(key), Missing);
}

inline void store(const char* key, const QString& value)
{
    SaveSetting(AppTitle, PageSetupSection, QString::fromLatin1(key), value);
}

// Acts on the first modal dialog of type T that shows up. One still open
// after the time limit is rejected, so that a test that goes wrong ends.
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

class Fixture {
public:
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<frmMain> main;
    frmDocument* document = nullptr;
    RichTextBox* text = nullptr;

    void start()
    {
        stop();
        testenv::clearSettings();
        pageSettings() = PageSettings();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(QString());
        main->show();
        QApplication::processEvents();
        document = main->ActiveDocument();
        text = document->txtText;
    }

    void stop()
    {
        main.reset();
        boxes.reset();
        document = nullptr;
        text = nullptr;
    }
};

}  // namespace print_test
