#pragma once
// A started main window with scripted message boxes, and a helper that acts
// on a modal dialog while it is open, for the help tests.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "WhenModal.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace helptest {

using testsupport::WhenModal;

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
