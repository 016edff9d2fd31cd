#pragma once
// A plain-text file's line breaks kept in a QTextDocument: each block's
// userState() holds the TextFileFormat::LineBreak that ended it in the file
// (-1 for blocks the user made), so untouched lines are saved as they were.
#include "document/TextFileCodec.h"

#include <QByteArray>
#include <vector>

class QTextDocument;

// After setPlainText(decoded.text): records each paragraph's break on its
// block. Blocks beyond the records get -1.
void stampLineBreaks(QTextDocument& document, const std::vector<qint8>& lineBreaks);

// The whole document as the bytes of a plain-text file in format: each
// block's text, then its recorded break or the format's default; nothing
// after the last block. lossless as for TextFileEncoder.
QByteArray encodeTextDocument(const QTextDocument& document, const TextFileFormat& format,
                              bool* lossless = nullptr);

// The same bytes handed to sink a slice at a time, stopping early when the
// sink fails or, with stopWhenLossy, at the first paragraph with a character
// the encoding lacks. Returns whether there was none.
bool writeTextDocument(const QTextDocument& document, const TextFileFormat& format, const ByteSink& sink,
                       bool stopWhenLossy);
