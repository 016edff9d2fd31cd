#pragma once
// Shared by the printing tests: a main window with one document, the page
// settings store, and a helper that acts on a modal dialog once it shows.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "WhenModal.h"
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

using testsupport::WhenModal;

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
