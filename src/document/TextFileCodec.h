#pragma once
// How a plain-text file's bytes become the document's paragraphs and back.
// The encoding is detected (a BOM wins, then valid UTF-8, else
// Windows-1252) and every paragraph remembers the break that ended it, so a
// file read and written again without edits keeps every byte.
#include "document/ByteSink.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>
#include <memory>
#include <utility>
#include <vector>

struct TextFileFormat {
    enum Encoding { Utf8, Utf16LE, Utf16BE, Windows1252 };
    // The break that ends a paragraph. The values fit a QTextBlock's
    // userState(), whose -1 is NoBreak: the last paragraph, or a paragraph
    // the user made, which gets the format's default. The last three are
    // characters the text control also takes as paragraph ends; they are
    // written back as they were read.
    enum LineBreak : qint8 {
        NoBreak = -1,
        CrLf = 0,
        Lf = 1,
        Cr = 2,
        ParagraphSeparator = 3,  // U+2029
        FrameStart = 4,          // U+FDD0
        FrameEnd = 5,            // U+FDD1
    };
    Encoding encoding = Utf8;
    bool bom = false;
    LineBreak lineBreak = Lf;  // the default break: the file's first CR LF, LF or CR
};

struct DecodedText {
    QString text;  // paragraphs separated by '\n'
    TextFileFormat format;
    std::vector<qint8> lineBreaks;  // per paragraph a LineBreak; the last is NoBreak
};

// A BOM decides when the bytes after it decode cleanly (UTF-16 needs an
// even count); else valid UTF-8 is UTF-8; else every byte is Windows-1252.
// The breaks are found in one pass, splitting the text in place.
DecodedText decodeTextFile(const QByteArray& bytes);

// The same decoding a piece at a time, each piece ending after a line
// break (CR LF, LF or CR), or between two characters of a line far longer
// than a piece, read from the file as it goes, so that a big file is held neither
// whole as bytes nor whole as text while it loads. Joined, the pieces and
// lineBreaks() are what decodeTextFile gives, except that a file that turns
// out not to be UTF-8 only shows it on a later piece: failed() then says to
// start again with a reader told Guess::Windows1252.
class TextFileReader {
public:
    enum class Guess { Detect, Windows1252 };
    // Reads from the device's current position to its end.
    explicit TextFileReader(QIODevice* device, Guess guess = Guess::Detect);
    explicit TextFileReader(const QByteArray& bytes, Guess guess = Guess::Detect);
    ~TextFileReader();

    // Known once next() has been called.
    const TextFileFormat& format() const { return m_format; }
    qint64 position() const { return m_position; }
    qint64 total() const { return m_total; }
    bool atEnd() const;
    bool failed() const { return m_failed; }
    // About size more bytes (to the end of a line, at most twice size),
    // breaks turned into '\n'.
    QString next(qsizetype size);
    // The breaks of the pieces read so far; complete once atEnd().
    const std::vector<qint8>& lineBreaks() const { return m_lineBreaks; }
    // The breaks read since the last take, handed over so that a big load
    // does not hold all of them until its end.
    std::vector<qint8> takeLineBreaks() { return std::exchange(m_lineBreaks, {}); }

private:
    void start();
    QByteArray takeBytes(qsizetype size);

    std::unique_ptr<QBuffer> m_ownBuffer;
    QIODevice* m_device = nullptr;
    Guess m_guess;
    QByteArray m_buffer;
    qint64 m_position = 0;
    qint64 m_total = 0;
    bool m_started = false;
    bool m_failed = false;
    TextFileFormat m_format;
    std::vector<qint8> m_lineBreaks;
    bool m_defaultFound = false;
    bool m_wholeMode = false;  // UTF-16: decoded at once
    DecodedText m_whole;
};

// CR LF, lone CR and lone LF each become '\n'.
QString normalizeLineBreaks(const QString& text);

// Builds a file's bytes paragraph by paragraph, into one growing buffer, or
// into a bounded one that is handed to a sink whenever it fills.
class TextFileEncoder {
public:
    // expectedBytes only sizes the first buffer.
    explicit TextFileEncoder(const TextFileFormat& format, qsizetype expectedBytes = 0);
    TextFileEncoder(const TextFileFormat& format, ByteSink sink);

    void addParagraph(QStringView text);
    // The break after a paragraph; NoBreak or any unknown value writes the
    // format's default break.
    void addLineBreak(int recorded);

    // False once a character had no code in the encoding (written as a
    // substitute), e.g. a Chinese letter typed into a Windows-1252 file.
    bool lossless() const { return !m_encoder.hasError(); }
    QByteArray take();
    // With a sink: hands on what is left; false once the sink failed.
    bool flush();
    bool sinkFailed() const { return m_sinkFailed; }

private:
    char* reserve(qsizetype bytes);  // room at the end, growing by doubling
    void flushWhenFull();

    QStringEncoder m_encoder;
    QByteArray m_bytes;
    qsizetype m_used = 0;
    QByteArray m_breaks[6];  // each LineBreak's bytes in this encoding
    TextFileFormat::LineBreak m_default;
    ByteSink m_sink;
    bool m_sinkFailed = false;
};


// The paragraphs of text (separated by '\n') with their recorded breaks;
// missing records count as NoBreak. The last paragraph gets no break.
QByteArray encodeTextFile(QStringView text, const std::vector<qint8>& lineBreaks,
                          const TextFileFormat& format, bool* lossless = nullptr);
