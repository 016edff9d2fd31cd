// Any text, header and footer on any page and margins: the layout ends
// without a crash or undefined behaviour.
#include "FuzzSupport.h"
#include "RecordingPrinter.h"
#include "print/PrintLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // A printer's lengths are positive and finite; margins are whatever was typed.
    RecordingPrinter printer;
    printer.printableWidth = input.ConsumeFloatingPointInRange(1.0, 1e6);
    printer.printableHeight = input.ConsumeFloatingPointInRange(1.0, 1e6);
    printer.paperWidth = printer.printableWidth + input.ConsumeFloatingPointInRange(0.0, 1e4);
    printer.lineHeight = input.ConsumeFloatingPointInRange(1.0, 1e4);
    printer.defaultCharWidth = input.ConsumeFloatingPointInRange(0.0, 1e4);
    for (const char16_t c : {u'0', u' ', u'W'})
        printer.charWidths.insert(c, input.ConsumeFloatingPointInRange(0.0, 1e4));
    PageSettings settings;
    for (double* margin : {&settings.MarginLeft, &settings.MarginRight, &settings.MarginTop, &settings.MarginBottom})
        *margin = input.ConsumeFloatingPoint<double>();
    settings.PageHeader = fuzz::takeText(input, 8);
    settings.PageFooter = fuzz::takeText(input, 8);

    PrintLayout layout(printer, settings, PrintFont{QStringLiteral("Arial"), 10, false, false});
    layout.PrintText(HeaderText(settings.PageHeader, QStringLiteral("C:\\a\\b.txt")),
                     fuzz::utf16(input.ConsumeRemainingBytesAsString()), 0);
    FUZZ_CHECK(printer.events.endsWith(RecordingPrinter::Ended));
    return 0;
}
