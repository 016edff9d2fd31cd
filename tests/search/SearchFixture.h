#pragma once
// A started main window with one document and scripted message boxes, for
// the Search command tests.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "WhenModal.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/SearchState.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace searchtest {

using testsupport::WhenModal;

class Fixture {
public:
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<frmMain> main;
    frmDocument* document = nullptr;
    RichTextBox* text = nullptr;

    // wrap: the stored Word Wrap switch (a first start wraps).
    void start(bool wrap = false)
    {
        stop();
        testenv::clearSettings();
        SaveSetting(AppTitle, QStringLiteral("WordWrap"), QStringLiteral("Wrap"),
                    wrap ? QStringLiteral("True") : QStringLiteral("False"));
        SearchText.clear();
        SearchOptions = 0;
        boxes = std::make_unique<ScriptedMessageBoxes>();
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

    // The document holds `content` with the given selection, unchanged.
    void open(const QString& content, int selStart = 0, int selLength = 0)
    {
        text->setText(content);
        text->SetSel(selStart, selStart + selLength);
        text->EmptyUndoBuffer();
        document->setLabel1(QString());
    }

    QPair<int, int> selection() const { return {text->SelStart(), text->SelLength()}; }

    int shownCount() const { return int(boxes->shown.size()); }
    ShownMessage lastShown() const { return boxes->shown.isEmpty() ? ShownMessage() : boxes->shown.last(); }
};

inline QString notFoundText(const QString& what) { return QStringLiteral("Cannot find \"") + what + u'"'; }

}  // namespace searchtest
