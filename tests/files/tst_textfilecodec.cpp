// Plain-text files: encoding and line-break detection, and the promise that
// a file read and written again without edits keeps every byte.
#include "TestEnvironment.h"
#include "files/TextFileCodec.h"
#include "files/TextFileDocument.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using Format = TextFileFormat;
using Breaks = std::vector<qint8>;
Q_DECLARE_METATYPE(Breaks)

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes(littleEndian ? "\xFF\xFE" : "\xFE\xFF");
    for (QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

// What the editor does with a file: decode, show in a document, stamp the
// breaks, write the document back.
QByteArray throughDocument(const QByteArray& bytes)
{
    const DecodedText decoded = decodeTextFile(bytes);
    QTextDocument document;
    document.setPlainText(decoded.text);
    stampLineBreaks(document, decoded.lineBreaks);
    return encodeTextDocument(document, decoded.format);
}

QString describe(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ')); }

}  // namespace

class TestTextFileCodec : public QObject {
    Q_OBJECT

private slots:
    void roundTripKeepsEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<int>("defaultBreak");
        QTest::addColumn<int>("paragraphs");

        const int utf8 = Format::Utf8, cp1252 = Format::Windows1252;
        QTest::newRow("empty file") << QByteArray() << utf8 << false << int(Format::Lf) << 1;
        QTest::newRow("LF") << QByteArray("one\ntwo\n") << utf8 << false << int(Format::Lf) << 3;
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << utf8 << false << int(Format::CrLf) << 3;
        QTest::newRow("CR") << QByteArray("one\rtwo\r") << utf8 << false << int(Format::Cr) << 3;
        QTest::newRow("mixed breaks")
            << QByteArray("a\nb\r\nc\rd\n\re") << utf8 << false << int(Format::Lf) << 6;
        QTest::newRow("CR CR LF is two breaks") << QByteArray("a\r\r\nb") << utf8 << false
                                                << int(Format::Cr) << 3;
        QTest::newRow("no final newline") << QByteArray("last line") << utf8 << false
                                          << int(Format::Lf) << 1;
        QTest::newRow("only breaks") << QByteArray("\r\n\r\n\n") << utf8 << false
                                     << int(Format::CrLf) << 4;
        QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n\xF0\x9F\x98\x80")
                               << utf8 << false << int(Format::CrLf) << 2;
        QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBFh\xC3\xA9llo\r\n") << utf8 << true
                                   << int(Format::CrLf) << 2;
        QTest::newRow("UTF-8 BOM only") << QByteArray("\xEF\xBB\xBF") << utf8 << true
                                        << int(Format::Lf) << 1;
        QTest::newRow("UTF-8 BOM twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << utf8 << true
                                         << int(Format::Lf) << 1;
        QTest::newRow("UTF-16LE BOM")
            << utf16(QStringLiteral("h\u00E9\r\n\u4E2D") + QChar(0xD83D) + QChar(0xDE00) + u'\n', true)
            << int(Format::Utf16LE) << true << int(Format::CrLf) << 3;
        QTest::newRow("UTF-16BE BOM") << utf16(QStringLiteral("ab\rc\u20AC"), false)
                                      << int(Format::Utf16BE) << true << int(Format::Cr) << 2;
        QTest::newRow("UTF-16 lone surrogate before a break")
            << utf16(QString(QChar(0xD800)) + u'\n' + QChar(0xDC00), true) << int(Format::Utf16LE)
            << true << int(Format::Lf) << 2;
        QTest::newRow("UTF-16 BOM, odd length, is Windows-1252")
            << QByteArray("\xFF\xFE" "a\0b", 5) << cp1252 << false << int(Format::Lf) << 1;
        QTest::newRow("UTF-8 BOM, invalid rest, is Windows-1252")
            << QByteArray("\xEF\xBB\xBF\xFF\n") << cp1252 << false << int(Format::Lf) << 2;
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x80 \x93quoted\x94\r\n")
                                      << cp1252 << false << int(Format::CrLf) << 2;
        QTest::newRow("Windows-1252 undefined bytes")
            << bytesOf({0x81, 0x8D, 0x0A, 0x8F, 0x90, 0x9D}) << cp1252 << false << int(Format::Lf) << 2;
        QByteArray everyByte;
        for (int value = 0; value < 256; ++value)
            everyByte.append(char(value));
        QTest::newRow("every byte value") << everyByte << cp1252 << false << int(Format::Lf) << 3;
        QTest::newRow("NUL bytes") << QByteArray("a\0b\n\0", 5) << utf8 << false << int(Format::Lf) << 2;
        QTest::newRow("invalid UTF-8") << QByteArray("ok \xC3\x28\n") << cp1252 << false
                                       << int(Format::Lf) << 2;
        QTest::newRow("overlong UTF-8") << QByteArray("\xC0\xAF") << cp1252 << false
                                        << int(Format::Lf) << 1;
        QTest::newRow("UTF-8 encoded surrogate") << QByteArray("\xED\xA0\x80") << cp1252 << false
                                                 << int(Format::Lf) << 1;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << cp1252 << false
                                         << int(Format::Lf) << 1;
        QTest::newRow("truncated UTF-8 at the end") << QByteArray("euro \xE2\x82") << cp1252 << false
                                                    << int(Format::Lf) << 1;
        QTest::newRow("paragraph and frame characters")
            << QByteArray("a\xE2\x80\xA9" "b\xEF\xB7\x90" "c\xEF\xB7\x91" "d\r\ne") << utf8 << false
            << int(Format::CrLf) << 5;
        QTest::newRow("line separator and BOM inside the text")
            << QByteArray("a\xE2\x80\xA8" "b\xEF\xBB\xBF" "c\xEF\xBF\xBC") << utf8 << false
            << int(Format::Lf) << 1;
    }
    void roundTripKeepsEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QFETCH(bool, bom);
        QFETCH(int, defaultBreak);
        QFETCH(int, paragraphs);

        const DecodedText decoded = decodeTextFile(bytes);
        QCOMPARE(int(decoded.format.encoding), encoding);
        QCOMPARE(decoded.format.bom, bom);
        QCOMPARE(int(decoded.format.lineBreak), defaultBreak);
        QCOMPARE(decoded.text.count(u'\n') + 1, paragraphs);
        QCOMPARE(qsizetype(decoded.lineBreaks.size()), qsizetype(paragraphs));
        QCOMPARE(int(decoded.lineBreaks.back()), int(Format::NoBreak));
        QVERIFY(!decoded.text.contains(u'\r'));

        bool lossless = false;
        QCOMPARE(encodeTextFile(decoded.text, decoded.lineBreaks, decoded.format, &lossless), bytes);
        QVERIFY(lossless);
        QCOMPARE(throughDocument(bytes), bytes);
    }

    void decodesTextAndBreaks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Breaks>("breaks");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringLiteral("a\nb\nc\nd")
                               << Breaks{Format::CrLf, Format::Lf, Format::Cr, Format::NoBreak};
        QTest::newRow("final break") << QByteArray("x\n") << QStringLiteral("x\n")
                                     << Breaks{Format::Lf, Format::NoBreak};
        QTest::newRow("LF CR") << QByteArray("\n\r") << QStringLiteral("\n\n")
                               << Breaks{Format::Lf, Format::Cr, Format::NoBreak};
        QTest::newRow("paragraph separator") << QByteArray("p\xE2\x80\xA9q")
                                             << QStringLiteral("p\nq")
                                             << Breaks{Format::ParagraphSeparator, Format::NoBreak};
        QTest::newRow("Windows-1252 letters") << QByteArray("\xE9\x80\x9F\x81")
                                              << QStringLiteral("\u00E9\u20AC\u0178\u0081")
                                              << Breaks{Format::NoBreak};
        QTest::newRow("UTF-8 over Windows-1252") << QByteArray("\xC3\xA9") << QStringLiteral("\u00E9")
                                                 << Breaks{Format::NoBreak};
        QTest::newRow("BOM is not text") << QByteArray("\xEF\xBB\xBFz") << QStringLiteral("z")
                                         << Breaks{Format::NoBreak};
        QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF\x00h\x00\n\x4E\x2D", 8)
                                  << QStringLiteral("h\n\u4E2D") << Breaks{Format::Lf, Format::NoBreak};
    }
    void decodesTextAndBreaks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(Breaks, breaks);
        const DecodedText decoded = decodeTextFile(bytes);
        QCOMPARE(decoded.text, text);
        QCOMPARE(decoded.lineBreaks, breaks);
    }

    // Lines the user did not touch keep their own break; new ones get the
    // file's first break.
    void editsKeepUntouchedBreaks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray mixed("one\r\ntwo\nthree\rfour");
        QTest::newRow("typing inside a line") << mixed << "type two X"
                                              << QByteArray("one\r\ntwoX\nthree\rfour");
        QTest::newRow("new line after the first") << mixed << "enter one"
                                                  << QByteArray("one\r\nnew\r\ntwo\nthree\rfour");
        QTest::newRow("new line after the last") << mixed << "enter four"
                                                 << QByteArray("one\r\ntwo\nthree\rfour\r\nnew");
        QTest::newRow("joining two lines keeps the second's break")
            << mixed << "join one" << QByteArray("onetwo\nthree\rfour");
        QTest::newRow("LF file, new line") << QByteArray("a\nb\n") << "enter a"
                                           << QByteArray("a\nnew\nb\n");
        QTest::newRow("CR file, new line") << QByteArray("a\rb") << "enter b"
                                           << QByteArray("a\rb\rnew");
        QTest::newRow("file without breaks gets LF") << QByteArray("a") << "enter a"
                                                     << QByteArray("a\nnew");
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
        const QTextBlock target = document.find(words[1]).block();
        QVERIFY(target.isValid());
        QTextCursor cursor(target);
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

    void newDocumentIsUtf8WithLf()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("first"));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("zwei \u00DF"));
        cursor.insertBlock();
        QCOMPARE(encodeTextDocument(document, TextFileFormat()), QByteArray("first\nzwei \xC3\x9F\n"));
    }

    void encodingKeepsFormat_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<int>("lineBreak");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8 CR LF") << int(Format::Utf8) << false << int(Format::CrLf)
                                     << QByteArray("\xC3\xA9\r\nb");
        QTest::newRow("UTF-8 BOM CR") << int(Format::Utf8) << true << int(Format::Cr)
                                      << QByteArray("\xEF\xBB\xBF\xC3\xA9\rb");
        QTest::newRow("UTF-16LE") << int(Format::Utf16LE) << true << int(Format::Lf)
                                  << QByteArray("\xFF\xFE\xE9\0\n\0b\0", 8);
        QTest::newRow("UTF-16BE without BOM") << int(Format::Utf16BE) << false << int(Format::Lf)
                                              << QByteArray("\0\xE9\0\n\0b", 6);
        QTest::newRow("Windows-1252") << int(Format::Windows1252) << false << int(Format::CrLf)
                                      << QByteArray("\xE9\r\nb");
    }
    void encodingKeepsFormat()
    {
        QFETCH(int, encoding);
        QFETCH(bool, bom);
        QFETCH(int, lineBreak);
        QFETCH(QByteArray, bytes);
        TextFileFormat format;
        format.encoding = TextFileFormat::Encoding(encoding);
        format.bom = bom;
        format.lineBreak = TextFileFormat::LineBreak(lineBreak);
        QCOMPARE(encodeTextFile(u"\u00E9\nb", {}, format), bytes);
    }

    void lossIsReported_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lossless");
        QTest::newRow("1252 letters") << int(Format::Windows1252) << "\u00E9\u20AC\u0178" << true;
        QTest::newRow("Chinese in 1252") << int(Format::Windows1252) << "a\u4E2Db" << false;
        QTest::newRow("Chinese in UTF-8") << int(Format::Utf8) << "a\u4E2Db" << true;
    }
    void lossIsReported()
    {
        QFETCH(int, encoding);
        QFETCH(QString, text);
        QFETCH(bool, lossless);
        TextFileFormat format;
        format.encoding = TextFileFormat::Encoding(encoding);
        bool reported = !lossless;
        encodeTextFile(text, {}, format, &reported);
        QCOMPARE(reported, lossless);
    }

    // Random bytes: mostly invalid UTF-8 (read as Windows-1252), with the
    // bytes that matter weighted up.
    void randomBytesRoundTrip()
    {
        QRandomGenerator random(1252);
        const QByteArray special = bytesOf({'\r', '\n', 0, 0x80, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xC3,
                                            0xE2, 0xEF, 0xBB, 0xBF, 0xFF, 0xFE, 0xA9});
        int windows1252 = 0, utf8 = 0;
        for (int sample = 0; sample < 3000; ++sample) {
            QByteArray bytes;
            const int length = random.bounded(0, 120);
            for (int i = 0; i < length; ++i)
                bytes.append(random.bounded(3) == 0 ? special[random.bounded(int(special.size()))]
                                                    : char(random.bounded(256)));
            if (random.bounded(4) == 0)  // some stay valid UTF-8
                bytes = QString::fromUtf8(bytes).toUtf8();
            const DecodedText decoded = decodeTextFile(bytes);
            (decoded.format.encoding == Format::Windows1252 ? windows1252 : utf8)++;
            QVERIFY2(encodeTextFile(decoded.text, decoded.lineBreaks, decoded.format) == bytes,
                     qPrintable(describe(bytes)));
            QVERIFY2(throughDocument(bytes) == bytes, qPrintable(describe(bytes)));
        }
        QVERIFY(windows1252 > 1000);
        QVERIFY(utf8 > 300);
    }

    // Random valid UTF-8 and UTF-16, with every kind of break and the
    // characters the text control treats specially.
    void randomUnicodeRoundTrip()
    {
        QRandomGenerator random(8);
        const char32_t special[] = {U'\r', U'\n', 0, 0x2028, 0x2029, 0xFDD0, 0xFDD1,
                                    0xFEFF, 0xFFFC, 0xFFFF, 0x10FFFF, 0x1F600};
        for (int sample = 0; sample < 3000; ++sample) {
            QString text;
            const int length = random.bounded(0, 60);
            for (int i = 0; i < length; ++i) {
                char32_t c;
                switch (random.bounded(4)) {
                case 0: c = special[random.bounded(int(std::size(special)))]; break;
                case 1: c = random.bounded(0x80); break;
                case 2: c = random.bounded(0x80, 0xD800); break;
                default: c = random.bounded(0xE000, 0x110000); break;
                }
                text += QString::fromUcs4(&c, 1);
            }
            const int kind = sample % 4;
            QByteArray bytes;
            if (kind == 0)
                bytes = text.toUtf8();
            else if (kind == 1)
                bytes = "\xEF\xBB\xBF" + text.toUtf8();
            else  // UTF-16 may also hold lone surrogates
                bytes = utf16(text + QChar(char16_t(random.bounded(0xD800, 0xE000))), kind == 2);
            const DecodedText decoded = decodeTextFile(bytes);
            QCOMPARE(int(decoded.format.encoding),
                     kind < 2 ? int(Format::Utf8) : kind == 2 ? int(Format::Utf16LE) : int(Format::Utf16BE));
            QVERIFY2(encodeTextFile(decoded.text, decoded.lineBreaks, decoded.format) == bytes,
                     qPrintable(describe(bytes)));
            QVERIFY2(throughDocument(bytes) == bytes, qPrintable(describe(bytes)));
        }
    }

    void normalizeLineBreaksMakesLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mixed") << "a\r\nb\rc\nd" << "a\nb\nc\nd";
        QTest::newRow("CR CR LF") << "\r\r\n" << "\n\n";
        QTest::newRow("nothing to do") << "abc" << "abc";
    }
    void normalizeLineBreaksMakesLf()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(normalizeLineBreaks(text), expected);
    }
};

PAGEWELL_TEST_MAIN(TestTextFileCodec)
#include "tst_textfilecodec.moc"
