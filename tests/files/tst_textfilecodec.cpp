// Plain-text files: encoding and line-break detection against a literal
// reference, reading in pieces against reading whole, and the promise that a
// file read and written again without edits keeps every byte.
#include "TestEnvironment.h"
#include "document/TextFileCodec.h"
#include "document/TextFileDocument.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using Format = TextFileFormat;

namespace {

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes(littleEndian ? "\xFF\xFE" : "\xFE\xFF");
    for (QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

QString summary(const DecodedText& decoded)
{
    static const char* const encodings[] = {"UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252"};
    static const char* const breaks[] = {"-", "CRLF", "LF", "CR", "PS", "FS", "FE"};
    QStringList kinds;
    for (qint8 kind : decoded.lineBreaks)
        kinds << QString::fromLatin1(breaks[kind + 1]);
    return QStringLiteral("%1%2 %3 [%4] %5")
        .arg(QString::fromLatin1(encodings[decoded.format.encoding]), decoded.format.bom ? "+BOM" : "",
             QString::fromLatin1(breaks[decoded.format.lineBreak + 1]), kinds.join(u' '), decoded.text);
}

// The text and breaks of a file in format, by a literal walk over its characters.
DecodedText reference(const QByteArray& bytes, const TextFileFormat& format)
{
    const QByteArray body = bytes.mid(format.bom ? (format.encoding == Format::Utf8 ? 3 : 2) : 0);
    QString raw;
    if (format.encoding == Format::Utf8)
        raw = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom).decode(body);
    else if (format.encoding == Format::Windows1252)
        raw = QStringDecoder("windows-1252").decode(body);
    for (qsizetype i = 0; format.encoding == Format::Utf16LE && i + 1 < body.size(); i += 2)
        raw += QChar(char16_t(uchar(body[i]) | uchar(body[i + 1]) << 8));
    for (qsizetype i = 0; format.encoding == Format::Utf16BE && i + 1 < body.size(); i += 2)
        raw += QChar(char16_t(uchar(body[i]) << 8 | uchar(body[i + 1])));
    DecodedText out{QString(), {format.encoding, format.bom, Format::Lf}, {}};
    bool found = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char16_t c = raw[i].unicode();
        const bool crlf = c == u'\r' && raw.mid(i + 1, 1) == QLatin1String("\n");
        const int kind = crlf ? Format::CrLf : c == u'\n' ? Format::Lf : c == u'\r' ? Format::Cr
                       : c == 0x2029 ? Format::ParagraphSeparator : c == 0xFDD0 ? Format::FrameStart
                       : c == 0xFDD1 ? Format::FrameEnd : Format::NoBreak;
        out.text += kind == Format::NoBreak ? raw[i] : QChar(u'\n');
        i += crlf ? 1 : 0;
        if (kind != Format::NoBreak)
            out.lineBreaks.push_back(qint8(kind));
        if (!found && kind >= Format::CrLf && kind <= Format::Cr) {
            out.format.lineBreak = Format::LineBreak(kind);
            found = true;
        }
    }
    out.lineBreaks.push_back(Format::NoBreak);
    return out;
}

// The reader's pieces joined, read again as Windows-1252 when it says so, as
// the loader does; a piece far longer than asked for shows in the result.
QString readInPieces(const QByteArray& bytes, qsizetype size)
{
    auto reader = std::make_unique<TextFileReader>(bytes);
    QString joined;
    while (!reader->atEnd()) {
        const QString piece = reader->next(size);
        if (reader->failed() && reader->format().encoding == Format::Utf8) {
            reader = std::make_unique<TextFileReader>(bytes, TextFileReader::Guess::Windows1252);
            joined.clear();
        } else if (piece.size() > 2 * size + 3) {
            return QStringLiteral("a piece of %1 for %2").arg(piece.size()).arg(size);
        }
        joined += piece;
    }
    return summary(DecodedText{joined, reader->format(), reader->lineBreaks()});
}

// What the editor does with a file: decode, show in a document, stamp the
// breaks, write the document back, whole and streamed, which must agree.
QByteArray throughDocument(const QByteArray& bytes)
{
    const DecodedText decoded = decodeTextFile(bytes);
    QTextDocument document;
    document.setPlainText(decoded.text);
    stampLineBreaks(document, decoded.lineBreaks);
    QByteArray streamed;
    const bool lossless = writeTextDocument(document, decoded.format, [&streamed](QByteArrayView slice) {
        streamed += slice;
        return true;
    }, true);
    return lossless && streamed == encodeTextDocument(document, decoded.format) ? streamed : "streamed differs";
}

void checkRoundTrip(const QByteArray& bytes, const DecodedText& decoded, QList<qsizetype> pieceSizes)
{
    QCOMPARE(summary(decoded), summary(reference(bytes, decoded.format)));
    bool lossless = false;
    QCOMPARE(encodeTextFile(decoded.text, decoded.lineBreaks, decoded.format, &lossless), bytes);
    QVERIFY(lossless);
    QCOMPARE(throughDocument(bytes), bytes);
    for (qsizetype size : pieceSizes)
        QCOMPARE(readInPieces(bytes, size), summary(decoded));
}

}  // namespace

class TestTextFileCodec : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");  // encoding, BOM and default break
        auto row = [](const char* name, const QByteArray& bytes, const char* format) {
            QTest::newRow(name) << bytes << QString::fromLatin1(format);
        };
        row("empty file", "", "UTF-8 LF");
        row("LF", "one\ntwo\n", "UTF-8 LF");
        row("CR LF, no final break", "one\r\ntwo\r\nthree", "UTF-8 CRLF");
        row("CR", "one\rtwo\r", "UTF-8 CR");
        row("mixed breaks", "a\nb\r\nc\rd\n\re", "UTF-8 LF");
        row("CR CR LF is two breaks", "a\r\r\nb", "UTF-8 CR");
        row("only breaks", "\r\n\r\n\n", "UTF-8 CRLF");
        row("UTF-8", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n\xF0\x9F\x98\x80", "UTF-8 CRLF");
        row("UTF-8 BOM", "\xEF\xBB\xBFh\xC3\xA9llo\r\n", "UTF-8+BOM CRLF");
        row("UTF-8 BOM only", "\xEF\xBB\xBF", "UTF-8+BOM LF");
        row("UTF-8 BOM twice", "\xEF\xBB\xBF\xEF\xBB\xBFx", "UTF-8+BOM LF");
        row("BOM inside a line start", "a\n\xEF\xBB\xBF" "b\n", "UTF-8 LF");
        row("UTF-16LE BOM", utf16(QStringLiteral("h\u00E9\r\n\u4E2D\U0001F600\n"), true), "UTF-16LE+BOM CRLF");
        row("UTF-16BE BOM", utf16(QStringLiteral("ab\rc\u20AC"), false), "UTF-16BE+BOM CR");
        row("UTF-16 lone surrogate before a break", utf16(QString(QChar(0xD800)) + u'\n' + QChar(0xDC00), true),
            "UTF-16LE+BOM LF");
        row("one long UTF-16 line", utf16(QStringLiteral("a\U0001F600").repeated(300), true), "UTF-16LE+BOM LF");
        row("UTF-16 BOM, odd length, is Windows-1252", QByteArray("\xFF\xFE" "a\0b", 5), "Windows-1252 LF");
        row("UTF-8 BOM, invalid rest, is Windows-1252", "\xEF\xBB\xBFok\n\xFF\n", "Windows-1252 LF");
        row("Windows-1252", "caf\xE9 \x80 \x93quoted\x94\r\n\x81\x8D\n\x8F\x90\x9D", "Windows-1252 CRLF");
        QByteArray everyByte;
        for (int value = 0; value < 256; ++value)
            everyByte.append(char(value));
        row("every byte value", everyByte, "Windows-1252 LF");
        row("NUL bytes", QByteArray("a\0b\n\0", 5), "UTF-8 LF");
        row("invalid UTF-8", "ok \xC3\x28\n", "Windows-1252 LF");
        row("invalid UTF-8 late", QByteArray(5000, 'x') + "\r\n\xC3(\n", "Windows-1252 CRLF");
        row("overlong UTF-8", "\xC0\xAF", "Windows-1252 LF");
        row("UTF-8 encoded surrogate", "\xED\xA0\x80", "Windows-1252 LF");
        row("beyond U+10FFFF", "\xF4\x90\x80\x80", "Windows-1252 LF");
        row("truncated UTF-8 at the end", "euro \xE2\x82", "Windows-1252 LF");
        row("paragraph and frame characters", "a\xE2\x80\xA9" "b\xEF\xB7\x90" "c\xEF\xB7\x91" "d\r\ne",
            "UTF-8 CRLF");
        row("line separator and BOM inside the text", "a\xE2\x80\xA8" "b\xEF\xBB\xBF" "c\xEF\xBF\xBC", "UTF-8 LF");
        row("many lone CRs", QByteArray("line\r").repeated(300) + "\r\n", "UTF-8 CR");
        row("one long UTF-8 line", "\xEF\xBB\xBF" + QByteArray("ab\xE2\x82\xAC\xF0\x9F\x98\x80").repeated(200),
            "UTF-8+BOM LF");
        row("one long Windows-1252 line", QByteArray("caf\xE9 ").repeated(200), "Windows-1252 LF");
        row("lines past a megabyte", QByteArray("line\r\n\xC3\xA9t\xC3\xA9\n").repeated(120000), "UTF-8 CRLF");
        row("CR LF before bytes that look like UTF-8", "xx\r\n" + QByteArray(40, '\x80'), "Windows-1252 CRLF");
    }
    void roundTripKeepsEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        const DecodedText decoded = decodeTextFile(bytes);
        QCOMPARE(summary(decoded).section(u' ', 0, 1), format);
        checkRoundTrip(bytes, decoded, {1, 5, 64, 1 << 20});
    }

    // Pieces end after a break, or cut a line far longer than asked for
    // between two characters.
    void piecesEndAfterBreaks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("pieces");
        QTest::newRow("UTF-8") << QByteArray("ab\r\ncd\ne") << "ab|\n|cd\ne";  // the rest, once the file ends
        QTest::newRow("UTF-16") << utf16(QStringLiteral("\nab\ncd"), true) << "\n|ab|\n|cd";
    }
    void piecesEndAfterBreaks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, pieces);
        TextFileReader reader(bytes);
        QStringList read;
        while (!reader.atEnd())
            read << reader.next(1);
        QCOMPARE(read.join(u'|'), pieces);
    }

    // Random valid UTF-8 (some with a BOM) and
    // UTF-16 (with lone surrogates) holding every kind of break and the
    // characters the text control treats specially; random bytes are the
    // fuzz target's.
    void randomFilesRoundTrip()
    {
        QRandomGenerator random(1252);
        const char32_t special[] = {U'\r', U'\n', 0, 0x80, 0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xFEFF, 0xFFFF, 0x10FFFF};
        for (int sample = 0; sample < 4000; ++sample) {
            QString text;
            for (int i = random.bounded(0, 80); i > 0; --i) {
                const int pick = random.bounded(4);
                const char32_t c = pick == 0 ? special[random.bounded(int(std::size(special)))]
                                 : pick == 1 ? random.bounded(0x80) : pick == 2 ? random.bounded(0x80, 0xD800)
                                             : random.bounded(0xE000, 0x110000);
                text += QString::fromUcs4(&c, 1);
            }
            const int kind = sample % 3;
            const QByteArray bytes = kind == 0 ? (random.bounded(2) ? "\xEF\xBB\xBF" : "") + text.toUtf8()
                                               : utf16(text + QChar(char16_t(random.bounded(0xD800, 0xE000))), kind == 1);
            checkRoundTrip(bytes, decodeTextFile(bytes), {random.bounded(1, 40)});
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("bytes: ") + QString::fromLatin1(bytes.toHex(' '))));
        }
    }

    // Lines the user did not touch keep their own break; new ones get the
    // file's first break.
    void editsKeepUntouchedBreaks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray mixed("one\r\ntwo\nthree\rfour");
        QTest::newRow("typing inside a line") << mixed << "type two X" << QByteArray("one\r\ntwoX\nthree\rfour");
        QTest::newRow("new line after the first") << mixed << "enter one"
                                                  << QByteArray("one\r\nnew\r\ntwo\nthree\rfour");
        QTest::newRow("new line after the last") << mixed << "enter four"
                                                 << QByteArray("one\r\ntwo\nthree\rfour\r\nnew");
        QTest::newRow("joining keeps the second's break") << mixed << "join one" << QByteArray("onetwo\nthree\rfour");
        QTest::newRow("CR file, new line") << QByteArray("a\rb") << "enter b" << QByteArray("a\rb\rnew");
        QTest::newRow("file without breaks gets LF") << QByteArray("a") << "enter a" << QByteArray("a\nnew");
    }
    void editsKeepUntouchedBreaks()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, edit);
        QFETCH(QByteArray, saved);
        const DecodedText decoded = decodeTextFile(file);
        QTextDocument document;
        document.setPlainText(decoded.text);
        stampLineBreaks(document, decoded.lineBreaks);
        const QStringList words = edit.split(u' ');
        QTextCursor cursor(document.find(words[1]).block());
        cursor.movePosition(QTextCursor::EndOfBlock);
        if (words[0] == QLatin1String("type")) {
            cursor.insertText(words[2]);
        } else if (words[0] == QLatin1String("enter")) {
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("new"));
        } else {
            cursor.deleteChar();
        }
        QCOMPARE(encodeTextDocument(document, decoded.format), saved);
    }

    // Text with no recorded breaks, in each format; loss is reported.
    void encodesInTheFormat_data()
    {
        QTest::addColumn<int>("encoding");  // -1: a new document's format
        QTest::addColumn<bool>("bom");
        QTest::addColumn<int>("lineBreak");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("lossless");
        const QString text = QStringLiteral("\u00E9\nb");
        QTest::newRow("new document") << -1 << false << 0 << text << QByteArray("\xC3\xA9\nb") << true;
        QTest::newRow("UTF-8 CR LF") << int(Format::Utf8) << false << int(Format::CrLf) << text
                                     << QByteArray("\xC3\xA9\r\nb") << true;
        QTest::newRow("UTF-8 BOM CR") << int(Format::Utf8) << true << int(Format::Cr) << text
                                      << QByteArray("\xEF\xBB\xBF\xC3\xA9\rb") << true;
        QTest::newRow("UTF-16LE") << int(Format::Utf16LE) << true << int(Format::Lf) << text
                                  << QByteArray("\xFF\xFE\xE9\0\n\0b\0", 8) << true;
        QTest::newRow("UTF-16BE without BOM") << int(Format::Utf16BE) << false << int(Format::Lf) << text
                                              << QByteArray("\0\xE9\0\n\0b", 6) << true;
        QTest::newRow("Windows-1252") << int(Format::Windows1252) << false << int(Format::CrLf)
                                      << QStringLiteral("\u00E9\u20AC\u0178\nb") << QByteArray("\xE9\x80\x9F\r\nb")
                                      << true;
        QTest::newRow("Chinese in Windows-1252") << int(Format::Windows1252) << false << int(Format::Lf)
                                                 << QStringLiteral("a\u4E2Db") << QByteArray("a\x1A" "b") << false;
        const QString longLine = QString((1 << 19) - 1, u'a') + QStringLiteral("\U0001F600b");  // a pair across a slice
        QTest::newRow("long line") << int(Format::Utf8) << false << 0 << longLine << longLine.toUtf8() << true;
        QTest::newRow("unknown default break is LF") << int(Format::Utf8) << false << int(Format::FrameEnd) << text
                                                     << QByteArray("\xC3\xA9\nb") << true;
    }
    void encodesInTheFormat()
    {
        QFETCH(int, encoding);
        QFETCH(bool, bom);
        QFETCH(int, lineBreak);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, lossless);
        TextFileFormat format;
        if (encoding >= 0)
            format = {Format::Encoding(encoding), bom, Format::LineBreak(lineBreak)};
        bool reported = !lossless;
        QCOMPARE(encodeTextFile(text, {}, format, &reported), bytes);
        QCOMPARE(reported, lossless);
    }

    void normalizeLineBreaksMakesLf()
    {
        QCOMPARE(normalizeLineBreaks(QStringLiteral("a\r\nb\rc\nd\r\r\n\r")), QStringLiteral("a\nb\nc\nd\n\n\n"));
        QCOMPARE(normalizeLineBreaks(QStringLiteral("abc\n")), QStringLiteral("abc\n"));
    }
};

PAGEWELL_TEST_MAIN(TestTextFileCodec)
#include "tst_textfilecodec.moc"
