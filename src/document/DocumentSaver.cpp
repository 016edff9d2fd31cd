#include "document/DocumentSaver.h"

#include "document/RtfWriter.h"
#include "document/SafeWrite.h"
#include "document/TextFileDocument.h"

#include <QTextDocument>

bool saveAsRtf(const QTextDocument& document, const QString& path, QString* error)
{
    return writeFileSafely(path, writeRtf(document), error);
}

PlainTextSave saveAsPlainText(const QTextDocument& document, const QString& path, TextFileFormat format,
                              bool utf8Fallback)
{
    PlainTextSave result;
    bool lossless = true;
    QByteArray bytes = encodeTextDocument(document, format, &lossless);
    if (!lossless) {
        // Characters the file's code page lacks would be lost: such a text
        // is kept whole as UTF-8 instead.
        if (!utf8Fallback) {
            result.refused = true;
            return result;
        }
        format.encoding = TextFileFormat::Utf8;
        format.bom = false;
        bytes = encodeTextDocument(document, format);
    }
    result.format = format;
    result.saved = writeFileSafely(path, bytes, &result.error);
    return result;
}
