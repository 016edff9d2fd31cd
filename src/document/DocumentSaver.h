#pragma once
// Writes a document to a file as RTF or as plain text; the file is replaced
// only once the whole write has succeeded. progress, if given, hears how far
// the write has come and may abandon it, leaving the file as it was.
#include "document/ByteSink.h"
#include "document/TextFileCodec.h"

#include <QString>

class QTextDocument;

// False with *error on failure.
bool saveAsRtf(const QTextDocument& document, const QString& path, QString* error,
               const WriteProgress& progress = {});

struct PlainTextSave {
    bool saved = false;
    bool refused = false;   // the encoding lacked characters and UTF-8 was not allowed
    TextFileFormat format;  // as written
    QString error;
};

// Writes the text in format. When its encoding lacks characters of the
// text, the file is written as UTF-8 without a BOM instead, or, without
// utf8Fallback, not at all.
PlainTextSave saveAsPlainText(const QTextDocument& document, const QString& path, TextFileFormat format,
                              bool utf8Fallback, const WriteProgress& progress = {});
