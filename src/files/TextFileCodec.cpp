#include "files/TextFileCodec.h"

#include <QStringDecoder>

namespace {

QString decodeWindows1252(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252");
    if (decoder.isValid())
        return decoder.decode(bytes);
    return QString::fromLatin1(bytes);
}

TextFileFormat::LineBreak firstLineBreak(const QString& text)
{
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == u'\n')
            return TextFileFormat::Lf;
        if (text[k] == u'\r')
            return (k + 1 < text.size() && text[k + 1] == u'\n') ? TextFileFormat::CrLf
                                                                 : TextFileFormat::Cr;
    }
    return TextFileFormat::Lf;
}

}  // namespace

QString normalizeLineBreaks(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

DecodedText decodeTextFile(const QByteArray& bytes)
{
    DecodedText result;
    QString raw;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        result.format = {TextFileFormat::Utf8, true};
        raw = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        result.format = {TextFileFormat::Utf16LE, true};
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        raw = decoder.decode(bytes.mid(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        result.format = {TextFileFormat::Utf16BE, true};
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        raw = decoder.decode(bytes.mid(2));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        raw = utf8.decode(bytes);
        result.format = {TextFileFormat::Utf8, false};
        if (utf8.hasError()) {
            result.format = {TextFileFormat::Windows1252, false};
            raw = decodeWindows1252(bytes);
        }
    }
    result.format.lineBreak = firstLineBreak(raw);
    result.text = normalizeLineBreaks(raw);
    return result;
}
