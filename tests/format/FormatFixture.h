#pragma once
// A main window with one document for the formatting tests, a common-dialog
// backend that answers by script, and a helper that acts on a modal dialog.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "WhenModal.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "files/CommonDialog.h"

#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QTimer>
#include <functional>
#include <memory>

namespace format_test {

inline const QString Missing = QStringLiteral("<missing>");

inline QString setting(const char* section, const char* key)
{
    return GetSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key), Missing);
}

// step, 2 * step, ... count * step: evenly spaced tab stops.
inline QList<int> multiples(int step, int count)
{
    QList<int> stops;
    for (int i = 1; i <= count; ++i)
        stops << i * step;
    return stops;
}

inline void store(const char* section, const char* key, const QString& value)
{
    SaveSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

using testsupport::WhenModal;

// Answers the colour and font dialogs: each queued answer may change the
// dialog's properties (the user's choice) and accepts, or cancels. Every
// call is recorded with the properties as the program had preset them.
class ScriptedFormatDialogs : public CommonDialogBackend {
public:
    ScriptedFormatDialogs() : m_previous(commonDialogBackend()) { setCommonDialogBackend(this); }
    ~ScriptedFormatDialogs() override
    {
        if (commonDialogBackend() == this)
            setCommonDialogBackend(m_previous);
    }

    void choose(std::function<void(CommonDialog&)> change = {}) { m_answers.append(Answer{true, std::move(change)}); }
    void cancel() { m_answers.append(Answer{false, {}}); }

    struct Call {
        int action = 0;
        CommonDialog preset;
    };
    QList<Call> calls;

    bool showOpen(CommonDialog& dialog, QWidget*) override { return answer(dialog, CommonDialog::cdlOpen); }
    bool showSave(CommonDialog& dialog, QWidget*) override { return answer(dialog, CommonDialog::cdlSave); }
    bool showColor(CommonDialog& dialog, QWidget*) override { return answer(dialog, CommonDialog::cdlColor); }
    bool showFont(CommonDialog& dialog, QWidget*) override { return answer(dialog, CommonDialog::cdlFont); }
    bool showPrintSetup(CommonDialog& dialog, QWidget*) override
    {
        return answer(dialog, CommonDialog::cdlPrintSetup);
    }

private:
    struct Answer {
        bool ok = false;
        std::function<void(CommonDialog&)> change;
    };
    bool answer(CommonDialog& dialog, int action)
    {
        calls.append(Call{action, dialog});
        if (m_answers.isEmpty())
            return false;
        const Answer next = m_answers.takeFirst();
        if (next.ok && next.change)
            next.change(dialog);
        return next.ok;
    }

    QList<Answer> m_answers;
    CommonDialogBackend* m_previous = nullptr;
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

    // Sizes the document window so that its text control is this many
    // pixels wide.
    void setControlWidth(int pixels)
    {
        QWidget* frame = document->parentWidget();
        for (int tries = 0; tries < 3 && document->width() != pixels; ++tries) {
            frame->resize(frame->width() + pixels - document->width(), frame->height());
            QApplication::processEvents();
        }
    }
};

}  // namespace format_test
