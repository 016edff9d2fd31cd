// The single-pass Clean agrees with the rule-by-rule reference on any text
// and caret, and its edits turn the old text into the new one.
#include "CleanReference.h"
#include "FuzzSupport.h"
#include "document/TextFileCodec.h"
#include "editing/CleanPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int start = input.ConsumeIntegral<uint16_t>();
    const int length = input.ConsumeIntegral<uint16_t>();
    // As the control's Text gives it: every break a CR LF.
    const QString text = normalizeLineBreaks(QString::fromLatin1(input.ConsumeRemainingBytesAsString()))
                             .replace(u'\n', QLatin1String("\r\n"));
    const int selStart = start % int(text.size() + 1);
    const int selLength = length % int(text.size() - selStart + 1);

    const CleanResult reference = cleanReference(text, selStart, selLength);
    const CleanPlan plan = cleanPlan(text, selStart, selLength);
    FUZZ_CHECK(plan.changed == reference.changed);
    FUZZ_CHECK(plan.selStart == reference.selStart && reference.selLength == 0);
    QString applied;
    int from = 0;
    for (const CleanEdit& edit : plan.edits) {
        FUZZ_CHECK(edit.position >= from && edit.removed >= 0 && edit.position + edit.removed <= text.size());
        applied += text.mid(from, edit.position - from) + edit.text;
        from = edit.position + edit.removed;
    }
    FUZZ_CHECK(applied + text.mid(from) == reference.text);
    return 0;
}
