#include "document/TextFileDocument.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

void stampLineBreaks(QTextDocument& document, const std::vector<qint8>& lineBreaks)
{
    size_t index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index)
        block.setUserState(index < lineBreaks.size() ? int(lineBreaks[index]) : int(TextFileFormat::NoBreak));
}

QByteArray encodeTextDocument(const QTextDocument& document, const TextFileFormat& format,
                              bool* lossless)
{
    // One copy of the whole text instead of one string per block; block n
    // starts where block n - 1 ended plus its separator.
    const QString raw = document.toRawText();
    const QStringView all(raw);
    const bool wide = format.encoding == TextFileFormat::Utf16LE
                      || format.encoding == TextFileFormat::Utf16BE;
    TextFileEncoder encoder(format, raw.size() * (wide ? 2 : 1) + 16);
    qsizetype start = 0;
    for (QTextBlock block = document.begin(); block.isValid();) {
        const qsizetype length = std::min<qsizetype>(block.length() - 1, all.size() - start);
        encoder.addParagraph(all.mid(start, std::max<qsizetype>(length, 0)));
        start += block.length();
        const QTextBlock next = block.next();
        if (next.isValid())
            encoder.addLineBreak(block.userState());
        block = next;
    }
    if (lossless)
        *lossless = encoder.lossless();
    return encoder.take();
}
