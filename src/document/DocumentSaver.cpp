#include "document/DocumentSaver.h"

#include "document/RtfWriter.h"
#include "document/SafeWrite.h"
#include "document/TextFileDocument.h"

#include <QTextDocument>

bool saveAsRtf(const QTextDocument& document, const QString& path, QString* error, const WriteProgress& progress)
{
    return writeFileSafely(
        path, [&document](const ByteSink& sink) { return writeRtf(document, sink); }, error, progress);
}

PlainTextSave saveAsPlainText(const QTextDocument& document, const QString& path, TextFileFormat format,
                              bool utf8Fallback, const WriteProgress& progress)
{
    PlainTextSave result;
    // Characters the file's code page lacks would be lost: such a text is
    // kept whole as UTF-8 instead. The first such character abandons the
    // write before it has touched the file.
    bool lossless = true;
    const auto write = [&](bool stopWhenLossy) {
        return writeFileSafely(
            path,
            [&](const ByteSink& sink) {
                lossless = writeTextDocument(document, format, sink, stopWhenLossy);
                return lossless || !stopWhenLossy;
            },
            &result.error, progress);
    };
    result.saved = write(true);
    if (!lossless) {
        if (!utf8Fallback) {
            result.refused = true;
            return result;
        }
        format.encoding = TextFileFormat::Utf8;
        format.bom = false;
        result.saved = write(false);
    }
    result.format = format;
    return result;
}
