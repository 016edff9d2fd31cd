#include "document/TextFileDocument.h"

#include "document/StoredText.h"

#include <QTextBlock>
#include <QTextDocument>

void stampLineBreaks(QTextDocument& document, const std::vector<qint8>& lineBreaks)
{
    size_t index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index)
        block.setUserState(index < lineBreaks.size() ? int(lineBreaks[index]) : int(TextFileFormat::NoBreak));
}

namespace {

bool isWide(TextFileFormat::Encoding encoding)
{
    return encoding == TextFileFormat::Utf16LE || encoding == TextFileFormat::Utf16BE;
}

// Each block's text, then its recorded break; nothing after the last.
// Stops early once stop() says so after a paragraph.
template <typename Stop>
void encodeBlocks(const QTextDocument& document, TextFileEncoder& encoder, Stop stop)
{
    const StoredText stored(document);
    StoredTextReader reader(stored);
    int position = 0;  // counted along: a block's own position() is a search
    for (QTextBlock block = document.begin(); block.isValid();) {
        encoder.addParagraph(reader.read(position, block.length() - 1));
        position += block.length();
        const QTextBlock next = block.next();
        if (stop())
            return;
        if (next.isValid())
            encoder.addLineBreak(block.userState());
        block = next;
    }
}

}  // namespace

QByteArray encodeTextDocument(const QTextDocument& document, const TextFileFormat& format,
                              bool* lossless)
{
    TextFileEncoder encoder(format, document.characterCount() * (isWide(format.encoding) ? 2 : 1) + 16);
    encodeBlocks(document, encoder, [] { return false; });
    if (lossless)
        *lossless = encoder.lossless();
    return encoder.take();
}

bool writeTextDocument(const QTextDocument& document, const TextFileFormat& format, const ByteSink& sink,
                       bool stopWhenLossy)
{
    TextFileEncoder encoder(format, sink);
    encodeBlocks(document, encoder, [&] { return encoder.sinkFailed() || (stopWhenLossy && !encoder.lossless()); });
    if (encoder.lossless() || !stopWhenLossy)
        encoder.flush();
    return encoder.lossless();
}
