#include "document/TextFileCodec.h"

#include <QBuffer>
#include <QFileDevice>
#include <QStringDecoder>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif

namespace {

using Break = TextFileFormat::LineBreak;

constexpr QStringDecoder::Flags ExactDecoding =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

struct ByteOrderMark {
    QByteArrayView bytes;
    TextFileFormat::Encoding encoding;
    QStringDecoder::Encoding decoder;
};

const ByteOrderMark ByteOrderMarks[] = {
    {"\xEF\xBB\xBF", TextFileFormat::Utf8, QStringDecoder::Utf8},
    {"\xFF\xFE", TextFileFormat::Utf16LE, QStringDecoder::Utf16LE},
    {"\xFE\xFF", TextFileFormat::Utf16BE, QStringDecoder::Utf16BE},
};

// Decodes the whole of bytes, or fails where a character could not be
// read: such a file would not come back byte for byte.
bool decodeExactly(QStringDecoder::Encoding encoding, QByteArrayView bytes, QString* text)
{
    if (encoding != QStringDecoder::Utf8 && bytes.size() % 2 != 0)
        return false;  // an odd byte out would turn into U+FFFD
    QStringDecoder decoder(encoding, ExactDecoding);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

// ICU's table maps the five bytes Windows-1252 leaves undefined to the C1
// controls of the same value, so every byte survives a round trip. Without
// ICU the file is read and written as Latin-1, which also keeps the bytes.
QString decodeWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252", QStringDecoder::Flag::Stateless);
    if (decoder.isValid())
        return decoder.decode(bytes);
    return QString::fromLatin1(bytes);
}

constexpr QStringEncoder::Flags EncoderFlags = QStringEncoder::Flag::Stateless;

// Encoders are made in place: a moved ICU encoder stops counting the
// characters it could not encode.
const char* encoderName(TextFileFormat::Encoding encoding)
{
    switch (encoding) {
    case TextFileFormat::Utf16LE: return "UTF-16LE";
    case TextFileFormat::Utf16BE: return "UTF-16BE";
    case TextFileFormat::Windows1252: return "windows-1252";
    case TextFileFormat::Utf8: break;
    }
    return "UTF-8";
}

// Without ICU, Windows-1252 files were read as Latin-1 and go back so.
void useFallbackIfInvalid(QStringEncoder& encoder)
{
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Latin1, EncoderFlags);
}

QByteArrayView byteOrderMark(TextFileFormat::Encoding encoding)
{
    for (const ByteOrderMark& mark : ByteOrderMarks) {
        if (mark.encoding == encoding)
            return mark.bytes;
    }
    return {};
}

// Turns every break into '\n' in place and appends what it was to breaks;
// the first CR LF, LF or CR becomes the format's default.
void splitParagraphs(QString& text, std::vector<qint8>& breaks, TextFileFormat& format, bool& defaultFound)
{
    const qsizetype n = text.size();
    // Called once per piece of a long load: an exact reserve each time would
    // copy all earlier breaks again and again.
    const size_t wanted = breaks.size() + size_t(n / 64 + 1);
    if (wanted > breaks.capacity())
        breaks.reserve(std::max(wanted, 2 * breaks.capacity()));
    QChar* data = text.data();
    qsizetype out = 0;
    for (qsizetype in = 0; in < n; ++in) {
        const char16_t c = data[in].unicode();
        Break kind;
        if (c == u'\n') {
            kind = Break::Lf;
        } else if (c == u'\r') {
            kind = (in + 1 < n && data[in + 1] == u'\n') ? Break::CrLf : Break::Cr;
            in += kind == Break::CrLf ? 1 : 0;
        } else if (c < 0x2029) {
            data[out++] = c;
            continue;
        } else if (c == 0x2029) {
            kind = Break::ParagraphSeparator;
        } else if (c == 0xFDD0) {
            kind = Break::FrameStart;
        } else if (c == 0xFDD1) {
            kind = Break::FrameEnd;
        } else {
            data[out++] = c;
            continue;
        }
        data[out++] = u'\n';
        breaks.push_back(kind);
        if (!defaultFound && kind <= Break::Cr) {
            format.lineBreak = kind;
            defaultFound = true;
        }
    }
    text.truncate(out);
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
    bool decoded = false;
    for (const ByteOrderMark& mark : ByteOrderMarks) {
        if (bytes.startsWith(mark.bytes)) {
            decoded = decodeExactly(mark.decoder, QByteArrayView(bytes).sliced(mark.bytes.size()),
                                    &result.text);
            result.format = {mark.encoding, true};
            break;
        }
    }
    if (!decoded) {
        result.format = {TextFileFormat::Utf8, false};
        if (!decodeExactly(QStringDecoder::Utf8, bytes, &result.text)) {
            result.format.encoding = TextFileFormat::Windows1252;
            result.text = decodeWindows1252(bytes);
        }
    }
    bool defaultFound = false;
    splitParagraphs(result.text, result.lineBreaks, result.format, defaultFound);
    result.lineBreaks.push_back(Break::NoBreak);
    return result;
}

// ---- reading in pieces -----------------------------------------------------

TextFileReader::TextFileReader(QIODevice* device, Guess guess) : m_device(device), m_guess(guess)
{
    m_total = std::max<qint64>(device->size() - device->pos(), 0);
}

TextFileReader::TextFileReader(const QByteArray& bytes, Guess guess)
    : m_ownBuffer(std::make_unique<QBuffer>()), m_guess(guess)
{
    m_ownBuffer->setData(bytes);
    m_ownBuffer->open(QIODevice::ReadOnly);
    m_device = m_ownBuffer.get();
    m_total = bytes.size();
}

TextFileReader::~TextFileReader() = default;

bool TextFileReader::atEnd() const { return m_started && (m_failed || m_position >= m_total); }

namespace {

bool isUtf8Continuation(char byte) { return (uchar(byte) & 0xC0) == 0x80; }

// Where a piece that found no break may end near `at`: never inside a UTF-8
// sequence, and never empty.
qsizetype characterBoundary(const QByteArray& bytes, qsizetype at)
{
    qsizetype cut = at;
    while (cut > 0 && isUtf8Continuation(bytes[cut]))
        --cut;
    if (cut > 0)
        return cut;
    for (cut = at; cut < bytes.size() && isUtf8Continuation(bytes[cut]); ++cut) {}
    return cut;
}

// A file not in the system's cache is read from disk as the load reaches
// it, and each wait (tens of milliseconds) would come on top of a slice's
// work: the system is asked to fetch the next megabytes in the background.
void readAhead(QIODevice* device)
{
#ifdef Q_OS_UNIX
    constexpr off_t Ahead = 8 << 20;
    const auto* file = qobject_cast<QFileDevice*>(device);
    if (file && file->handle() >= 0)
        ::posix_fadvise(file->handle(), off_t(file->pos()), Ahead, POSIX_FADV_WILLNEED);
#else
    Q_UNUSED(device);
#endif
}

}  // namespace

// Reads on until the buffer holds `size` bytes and ends after a line break
// (or the file ends), and takes that piece out of the buffer. A CR at the
// end of what is read waits for the next byte, so that CR LF stays whole. A
// line far longer than `size` is cut between two characters.
QByteArray TextFileReader::takeBytes(qsizetype size)
{
    constexpr qint64 ReadSize = 1 << 20;
    constexpr qsizetype Lookahead = 4;  // the longest UTF-8 sequence
    const qsizetype limit = 2 * size;
    qsizetype searchFrom = size - 1;
    auto take = [this](qsizetype end) {
        QByteArray piece = m_buffer.left(end);
        m_buffer.remove(0, end);
        return piece;
    };
    for (;;) {
        const qsizetype scanEnd = std::min(m_buffer.size(), limit);
        const char* data = m_buffer.constData();
        for (; searchFrom < scanEnd; ++searchFrom) {
            const char c = data[searchFrom];
            if (c == '\n')
                return take(searchFrom + 1);
            if (c == '\r') {
                if (searchFrom + 1 >= m_buffer.size())
                    break;  // whether an LF follows is not known yet
                return take(searchFrom + (data[searchFrom + 1] == '\n' ? 2 : 1));
            }
        }
        // In Windows-1252 every byte is a character: walking back over what
        // would be UTF-8 continuation bytes could split a CR LF.
        if (m_buffer.size() >= limit + Lookahead)
            return take(m_format.encoding == TextFileFormat::Utf8 ? characterBoundary(m_buffer, limit) : limit);
        const QByteArray more = m_device->read(ReadSize);
        readAhead(m_device);
        if (more.isEmpty())
            return std::exchange(m_buffer, QByteArray());
        m_buffer += more;
    }
}

// The first bytes decide: a UTF-16 mark means the whole file is decoded at
// once (whether it decodes cleanly decides its encoding); else the pieces
// are taken for UTF-8 until one is not, then for Windows-1252.
void TextFileReader::start()
{
    m_started = true;
    if (m_guess == Guess::Windows1252) {
        m_format = {TextFileFormat::Windows1252, false};
        return;
    }
    m_buffer = m_device->read(3);
    const QByteArrayView head(m_buffer);
    if (head.startsWith(ByteOrderMarks[1].bytes) || head.startsWith(ByteOrderMarks[2].bytes)) {
        m_buffer += m_device->readAll();
        m_whole = decodeTextFile(m_buffer);
        m_buffer = QByteArray();
        m_format = m_whole.format;
        m_lineBreaks = std::move(m_whole.lineBreaks);
        m_wholeMode = true;
        m_total = m_whole.text.size();
        return;
    }
    m_format = {TextFileFormat::Utf8, head.startsWith(ByteOrderMarks[0].bytes)};
    if (m_format.bom) {
        m_buffer.remove(0, 3);
        m_position = 3;
    }
}

QString TextFileReader::next(qsizetype size)
{
    if (!m_started)
        start();
    size = std::max<qsizetype>(size, 1);
    if (m_wholeMode) {
        qsizetype end = std::min<qsizetype>(m_total, m_position + size);
        if (end < m_total) {
            const qsizetype lineEnd = m_whole.text.indexOf(u'\n', end - 1);
            end = lineEnd < 0 ? m_total : lineEnd + 1;
            if (end - m_position > 2 * size) {
                end = m_position + 2 * size;  // an over-long line, cut between two characters
                end += m_whole.text[end - 1].isHighSurrogate() ? 1 : 0;
            }
        }
        const QString piece = m_whole.text.mid(m_position, end - m_position);
        m_position = end;
        if (m_position >= m_total)
            m_whole.text = QString();
        return piece;
    }
    // Pieces end after a break or between two characters, so no character
    // and no CR LF is split.
    const QByteArray bytes = takeBytes(size);
    m_position += bytes.size();
    QString piece;
    if (m_format.encoding == TextFileFormat::Utf8) {
        QStringDecoder decoder(QStringDecoder::Utf8, ExactDecoding);
        piece = decoder.decode(bytes);
        if (decoder.hasError()) {
            m_failed = true;
            return QString();
        }
    } else {
        piece = decodeWindows1252(bytes);
    }
    splitParagraphs(piece, m_lineBreaks, m_format, m_defaultFound);
    if (m_position >= m_total || bytes.isEmpty()) {
        m_position = m_total;
        m_lineBreaks.push_back(Break::NoBreak);
    }
    return piece;
}

// ---- encoding --------------------------------------------------------------

namespace {

constexpr qsizetype FlushSize = 1 << 20;  // bytes a sink gets at once
constexpr qsizetype SliceSize = 1 << 19;  // characters encoded at once

}  // namespace

TextFileEncoder::TextFileEncoder(const TextFileFormat& format, qsizetype expectedBytes)
    : m_encoder(encoderName(format.encoding), EncoderFlags),
      m_default(format.lineBreak >= Break::CrLf && format.lineBreak <= Break::Cr ? format.lineBreak
                                                                                : Break::Lf)
{
    // A separate encoder, so that a break this encoding cannot hold does not
    // count against the text.
    useFallbackIfInvalid(m_encoder);
    QStringEncoder breakEncoder(encoderName(format.encoding), EncoderFlags);
    useFallbackIfInvalid(breakEncoder);
    const char16_t breakTexts[6][3] = {u"\r\n", u"\n", u"\r", u"\u2029", u"\uFDD0", u"\uFDD1"};
    for (int kind = 0; kind < 6; ++kind)
        m_breaks[kind] = breakEncoder.encode(QStringView(breakTexts[kind]));

    m_bytes.resize(std::max<qsizetype>(expectedBytes, 0) + 64);
    if (format.bom) {
        const QByteArrayView mark = byteOrderMark(format.encoding);
        std::copy(mark.begin(), mark.end(), m_bytes.data());
        m_used = mark.size();
    }
}

TextFileEncoder::TextFileEncoder(const TextFileFormat& format, ByteSink sink)
    : TextFileEncoder(format, FlushSize)
{
    m_sink = std::move(sink);
}

char* TextFileEncoder::reserve(qsizetype bytes)
{
    const qsizetype needed = m_used + bytes;
    if (needed > m_bytes.size())
        m_bytes.resize(std::max(needed, m_bytes.size() * 2));
    return m_bytes.data() + m_used;
}

void TextFileEncoder::addParagraph(QStringView text)
{
    // A long line goes in slices, so the buffer stays bounded; a slice never
    // ends between the halves of a surrogate pair.
    while (!text.isEmpty()) {
        qsizetype length = std::min(text.size(), SliceSize);
        if (length < text.size() && length > 1 && text[length - 1].isHighSurrogate())
            --length;
        char* start = reserve(m_encoder.requiredSpace(length));
        m_used += m_encoder.appendToBuffer(start, text.first(length)) - start;
        text = text.sliced(length);
        flushWhenFull();
    }
}

void TextFileEncoder::addLineBreak(int recorded)
{
    const int kind = (recorded >= Break::CrLf && recorded <= Break::FrameEnd) ? recorded : m_default;
    const QByteArray& bytes = m_breaks[kind];
    std::copy(bytes.begin(), bytes.end(), reserve(bytes.size()));
    m_used += bytes.size();
    flushWhenFull();
}

void TextFileEncoder::flushWhenFull()
{
    if (m_sink && m_used >= FlushSize)
        flush();
}

bool TextFileEncoder::flush()
{
    if (m_sink && m_used > 0 && !m_sinkFailed)
        m_sinkFailed = !m_sink(QByteArrayView(m_bytes.constData(), m_used));
    m_used = 0;
    return !m_sinkFailed;
}

QByteArray TextFileEncoder::take()
{
    m_bytes.resize(m_used);
    m_used = 0;
    return std::move(m_bytes);
}

QByteArray encodeTextFile(QStringView text, const std::vector<qint8>& lineBreaks,
                          const TextFileFormat& format, bool* lossless)
{
    const qsizetype perCharacter = format.encoding == TextFileFormat::Utf16LE
                                           || format.encoding == TextFileFormat::Utf16BE
                                       ? 2
                                       : 1;
    TextFileEncoder encoder(format, text.size() * perCharacter + 16);
    size_t paragraph = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        encoder.addParagraph(text.mid(start, (end < 0 ? text.size() : end) - start));
        if (end < 0)
            break;
        encoder.addLineBreak(paragraph < lineBreaks.size() ? int(lineBreaks[paragraph]) : int(Break::NoBreak));
        ++paragraph;
        start = end + 1;
    }
    if (lossless)
        *lossless = encoder.lossless();
    return encoder.take();
}
