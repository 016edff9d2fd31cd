// Any text in any mix of formats and font names saves as ASCII whose groups
// all close, the document's group last.
#include "FuzzSupport.h"
#include "document/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // fonts need it
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QTextDocument document;
    QTextCursor cursor(&document);
    while (input.remaining_bytes() > 0) {
        const auto look = input.ConsumeIntegral<uint8_t>();
        QTextCharFormat format;
        format.setFontWeight(look & 1 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(look & 2);
        format.setFontUnderline(look & 4);
        format.setFontStrikeOut(look & 8);
        if (look & 16)
            format.setForeground(QColor(QRgb(look * 0x010305)));
        if (look & 32)
            format.setFontPointSize(0.5 + look % 7 * 3.3);
        if (look & 64)
            format.setFontFamilies({fuzz::takeText(input, 8)});
        cursor.insertText(fuzz::takeText(input, 16), format);
    }
    const QByteArray rtf = writeRtf(document);
    FUZZ_CHECK(rtf.startsWith("{\\rtf1") && rtf.endsWith("}\n"));
    int depth = 0;  // back to 0 only at the end
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        FUZZ_CHECK(uchar(rtf[i]) < 0x80 && (depth > 0 || i == 0 || i == rtf.size() - 1));
        if (rtf[i] == '\\')
            FUZZ_CHECK(++i < rtf.size() && uchar(rtf[i]) < 0x80);  // an escaped brace is text
        else
            depth += (rtf[i] == '{') - (rtf[i] == '}');
    }
    FUZZ_CHECK(depth == 0);
    return 0;
}
