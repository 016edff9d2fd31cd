#include "editing/CleanReference.h"

CleanResult cleanReference(const QString& text, int selStart, int selLength,
                           const QVector<CleanRule>& rules)
{
    TextControlModel control(text, selStart, selLength);
    CleanResult result;
    result.changed = runCleanRules(control, rules);
    result.text = control.Text();
    result.selStart = control.SelStart();
    result.selLength = control.SelLength();
    result.formatOrigins = control.formatOrigins();
    return result;
}
