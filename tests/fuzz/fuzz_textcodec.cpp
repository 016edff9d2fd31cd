// A file decoded and encoded again keeps every byte whenever its encoding
// holds every character, and reading it in pieces gives what reading it
// whole gives. The first byte picks the piece size.
#include "FuzzSupport.h"
#include "document/TextFileCodec.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const DecodedText whole = decodeTextFile(bytes);
    bool lossless = false;
    const QByteArray again = encodeTextFile(whole.text, whole.lineBreaks, whole.format, &lossless);
    FUZZ_CHECK(!lossless || again == bytes);

    auto reader = std::make_unique<TextFileReader>(bytes);
    QString joined;
    do {
        const QString piece = reader->next(1 + data[0]);
        if (reader->failed()) {  // not UTF-8 after all: read again, as the loader does
            FUZZ_CHECK(reader->format().encoding == TextFileFormat::Utf8);
            reader = std::make_unique<TextFileReader>(bytes, TextFileReader::Guess::Windows1252);
            joined.clear();
        } else {
            joined += piece;
        }
    } while (!reader->atEnd());
    FUZZ_CHECK(joined == whole.text);
    FUZZ_CHECK(reader->lineBreaks() == whole.lineBreaks);
    const TextFileFormat& format = reader->format();
    FUZZ_CHECK(format.encoding == whole.format.encoding && format.bom == whole.format.bom
               && format.lineBreak == whole.format.lineBreak);
    return 0;
}
