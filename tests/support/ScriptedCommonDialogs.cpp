#include "ScriptedCommonDialogs.h"

ScriptedCommonDialogs::ScriptedCommonDialogs() : m_previous(commonDialogBackend())
{
    setCommonDialogBackend(this);
}

ScriptedCommonDialogs::~ScriptedCommonDialogs()
{
    if (commonDialogBackend() == this)
        setCommonDialogBackend(m_previous);
}

void ScriptedCommonDialogs::choose(const QString& path) { m_answers.append({true, path}); }

void ScriptedCommonDialogs::cancel() { m_answers.append({false, QString()}); }

bool ScriptedCommonDialogs::answer(CommonDialog& dialog, int action, bool fileDialog)
{
    calls.append({action, dialog.DialogTitle, dialog.Flags, dialog.Filter, dialog.FileName,
                  dialog.CancelError, dialog.HelpFile});
    if (onCall)
        onCall(dialog);
    if (m_answers.isEmpty()) {
        ++unanswered;
        return false;
    }
    const Answer next = m_answers.takeFirst();
    if (next.ok && fileDialog)
        dialog.FileName = next.path;
    return next.ok;
}

bool ScriptedCommonDialogs::showOpen(CommonDialog& dialog, QWidget*)
{
    return answer(dialog, CommonDialog::cdlOpen, true);
}

bool ScriptedCommonDialogs::showSave(CommonDialog& dialog, QWidget*)
{
    return answer(dialog, CommonDialog::cdlSave, true);
}

bool ScriptedCommonDialogs::showColor(CommonDialog& dialog, QWidget*)
{
    return answer(dialog, CommonDialog::cdlColor, false);
}

bool ScriptedCommonDialogs::showFont(CommonDialog& dialog, QWidget*)
{
    return answer(dialog, CommonDialog::cdlFont, false);
}

bool ScriptedCommonDialogs::showPrintSetup(CommonDialog& dialog, QWidget*)
{
    return answer(dialog, CommonDialog::cdlPrintSetup, false);
}
