#pragma once
// Answers the common dialog by script and records every call with the
// dialog's properties as the program had set them at that moment.
#include "core/CommonDialog.h"

#include <QList>
#include <QString>
#include <functional>

struct CommonDialogCall {
    int action = 0;  // CommonDialog::cdlOpen, cdlSave, cdlColor, cdlFont, cdlPrintSetup
    QString DialogTitle;
    int Flags = 0;
    QString Filter;
    QString FileName;  // the preset the dialog was shown with
    bool CancelError = false;
    QString HelpFile;
};

class ScriptedCommonDialogs : public CommonDialogBackend {
public:
    ScriptedCommonDialogs();            // installs itself
    ~ScriptedCommonDialogs() override;  // puts back the previous backend, if still current

    // Queues the answer to the next dialog: a file dialog returns the path;
    // the other dialogs accept their preset values.
    void choose(const QString& path = QString());
    void cancel();

    // Runs at every call, after it was recorded and before it is answered.
    std::function<void(const CommonDialog&)> onCall;

    QList<CommonDialogCall> calls;
    // Calls that found no queued answer; they were cancelled.
    int unanswered = 0;
    int pending() const { return int(m_answers.size()); }

    bool showOpen(CommonDialog& dialog, QWidget* parent) override;
    bool showSave(CommonDialog& dialog, QWidget* parent) override;
    bool showColor(CommonDialog& dialog, QWidget* parent) override;
    bool showFont(CommonDialog& dialog, QWidget* parent) override;
    bool showPrintSetup(CommonDialog& dialog, QWidget* parent) override;

private:
    struct Answer {
        bool ok = false;
        QString path;
    };
    bool answer(CommonDialog& dialog, int action, bool fileDialog);

    QList<Answer> m_answers;
    CommonDialogBackend* m_previous = nullptr;
};
