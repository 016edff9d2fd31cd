#pragma once
// How a plain-text file's bytes become the document's text: the encoding is
// detected (a BOM wins, then valid UTF-8, else Windows-1252) and every line
// break (CR LF, LF or a lone CR) becomes one paragraph break.
#include <QByteArray>
#include <QString>

struct TextFileFormat {
    enum Encoding { Utf8, Utf16LE, Utf16BE, Windows1252 };
    enum LineBreak { CrLf, Lf, Cr };
    Encoding encoding = Utf8;
    bool bom = false;
    LineBreak lineBreak = Lf;  // the first break in the file
};

struct DecodedText {
    QString text;  // paragraphs separated by '\n'
    TextFileFormat format;
};

DecodedText decodeTextFile(const QByteArray& bytes);

// CR LF, lone CR and lone LF each become '\n'.
QString normalizeLineBreaks(const QString& text);
