// Reading a file in pieces gives what reading it whole gives: the same text,
// the same breaks per paragraph and the same format, whatever the piece size
// (a file that is not UTF-8 after all is read again, as the loader does), and
// pieces stay near the size asked for, whatever the breaks and line lengths.
#include "TestEnvironment.h"
#include "files/TextFileCodec.h"

#include <QRandomGenerator>
#include <memory>

class TestTextFileReader : public QObject {
    Q_OBJECT

private:
    static void compareWithWhole(const QByteArray& bytes, qsizetype pieceSize)
    {
        const DecodedText whole = decodeTextFile(bytes);
        auto reader = std::make_unique<TextFileReader>(bytes);
        QString joined;
        int pieces = 0;
        do {
            const QString piece = reader->next(pieceSize);
            if (reader->failed()) {
                // Not UTF-8 after all: read again, as the loader does.
                QVERIFY(reader->format().encoding == TextFileFormat::Utf8);
                reader = std::make_unique<TextFileReader>(bytes, TextFileReader::Guess::Windows1252);
                joined.clear();
                continue;
            }
            // No break and no line, however long, makes a piece much longer
            // than asked for.
            QVERIFY2(piece.size() <= 2 * pieceSize + 3, qPrintable(QString::number(piece.size())));
            joined += piece;
            ++pieces;
        } while (!reader->atEnd());
        QCOMPARE(joined, whole.text);
        QCOMPARE(reader->lineBreaks(), whole.lineBreaks);
        QCOMPARE(reader->format().encoding, whole.format.encoding);
        QCOMPARE(reader->format().bom, whole.format.bom);
        QCOMPARE(reader->format().lineBreak, whole.format.lineBreak);
        QVERIFY(pieces >= 1);
    }

private slots:
    void piecesJoinToTheWholeDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("pieceSize");
        const QList<QPair<const char*, QByteArray>> files = {
            {"empty", QByteArray()},
            {"LF", "one\ntwo\nthree\n"},
            {"CR LF, no final break", "one\r\ntwo\r\nthree"},
            {"lone CRs", "one\rtwo\rthree\r"},
            {"mixed, CR first", "a\rb\r\nc\nd\r\r\n\n"},
            {"UTF-8", "gr\xC3\xBC\xC3\x9F dich\n\xE2\x82\xAC 5\r\nend"},
            {"UTF-8 with BOM", "\xEF\xBB\xBFwith mark\nsecond\n"},
            {"only a BOM", "\xEF\xBB\xBF"},
            {"BOM, then invalid", "\xEF\xBB\xBFok\n\xFF bad\n"},
            {"Windows-1252", "caf\xE9\nna\xEFve\r\n\x80 and \x81\n"},
            {"invalid UTF-8 late", QByteArray(5000, 'x') + "\n\xC3(\n"},
            {"paragraph separator", "a\xE2\x80\xA9" "b\nc"},
            {"BOM inside a line start", "a\n\xEF\xBB\xBF" "b\n"},
            {"UTF-16 LE", QByteArray("\xFF\xFE" "a\0\n\0b\0\r\0\n\0", 12)},
            {"UTF-16 BE", QByteArray("\xFE\xFF\0a\0\n\0b", 8)},
            {"NULs", QByteArray("a\0b\n\0\n", 6)},
            {"many lone CRs", QByteArray("line\r").repeated(300) + "\r\n"},
            {"one long line", "\xEF\xBB\xBF" + QByteArray("ab\xE2\x82\xAC\xF0\x9F\x98\x80").repeated(200)},
            {"one long Windows-1252 line", QByteArray("caf\xE9 ").repeated(200)},
            {"one long UTF-16 line", "\xFF\xFE" + QByteArray("a\0\x3D\xD8\x00\xDE", 6).repeated(300)},
        };
        for (const auto& [name, bytes] : files) {
            for (qsizetype size : {qsizetype(1), qsizetype(5), qsizetype(64), qsizetype(1) << 20})
                QTest::addRow("%s, pieces of %lld", name, qlonglong(size)) << bytes << size;
        }
    }
    void piecesJoinToTheWholeDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, pieceSize);
        compareWithWhole(bytes, pieceSize);
    }

    void randomFilesMatch()
    {
        // Bytes from a small alphabet of breaks, ASCII, UTF-8 sequences and
        // stray high bytes: both encodings and every kind of break occur.
        const QList<QByteArray> alphabet = {"\n", "\r", "\r\n", "a", "b ", "\xC3\xA9", "\xE2\x82\xAC",
                                            "\xE2\x80\xA9", "\xFF", "\x80", "\xEF\xBB\xBF"};
        QRandomGenerator random(20261206);
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes;
            const int length = random.bounded(200);
            const bool valid = random.bounded(2) == 0;
            for (int i = 0; i < length; ++i) {
                const QByteArray& piece = alphabet[random.bounded(valid ? 8 : alphabet.size())];
                bytes += piece;
            }
            compareWithWhole(bytes, random.bounded(1, 40));
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("bytes: ") + QString::fromLatin1(bytes.toHex())));
        }
    }
};

PAGEWELL_TEST_MAIN(TestTextFileReader)
#include "tst_textfilereader.moc"
