// Crash recovery: an entry gives back the very document (text, every
// format run, tab stops, line breaks); the copy kept while editing matches
// a fresh one after any edits; sessions of live runs are left alone; and
// which closes and saves keep or drop a document's entry.
#include "FileCommandsFixture.h"
#include "app/RecoveryStartup.h"
#include "files/DocumentRecovery.h"
#include "files/RecoveryDialog.h"

#include <QBuffer>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace files;

namespace {

QTextCharFormat randomCharFormat(QRandomGenerator& random)
{
    static const QStringList families{"Arial", "Courier New", "Times New Roman"};
    QTextCharFormat format;
    if (random.bounded(2))
        format.setFontFamilies({families[random.bounded(3)]});
    if (random.bounded(2))
        format.setFontPointSize(6 + random.bounded(30) / 2.0);
    format.setFontWeight(random.bounded(2) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(random.bounded(2));
    format.setFontUnderline(random.bounded(2));
    format.setFontStrikeOut(random.bounded(2));
    if (random.bounded(2))
        format.setForeground(QColor::fromRgb(random.generate() & 0xffffff));
    return format;
}

QString randomText(QRandomGenerator& random, int length)
{
    static const QString letters = QStringLiteral("ab \t\n\u00e9\u4e2d\u2028");
    QString text;
    for (int i = 0; i < length; ++i)
        text += letters[random.bounded(int(letters.size()))];
    return text;
}

// One random edit: typing, a deletion, a format over a range, or tab stops.
void randomEdit(QTextDocument& document, QRandomGenerator& random)
{
    QTextCursor cursor(&document);
    const int end = document.characterCount() - 1;
    cursor.setPosition(random.bounded(end + 1));
    switch (random.bounded(4)) {
    case 0:
        cursor.insertText(randomText(random, 1 + random.bounded(12)), randomCharFormat(random));
        break;
    case 1:
        cursor.setPosition(std::min(end, cursor.position() + random.bounded(20)), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
    case 2:
        cursor.setPosition(std::min(end, cursor.position() + random.bounded(30)), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(randomCharFormat(random));
        break;
    default: {
        QTextBlockFormat block;
        block.setTabPositions({QTextOption::Tab(10.0 * (1 + random.bounded(9)), QTextOption::LeftTab)});
        cursor.block().setUserState(int(random.bounded(-1, 6)));
        cursor.mergeBlockFormat(block);
    }
    }
}

// A paragraph's text formats; neighbours that look the same are one run.
QList<QPair<int, QMap<int, QVariant>>> runsOf(const QTextBlock& block)
{
    QList<QPair<int, QMap<int, QVariant>>> runs;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QMap<int, QVariant> properties = it.fragment().charFormat().properties();
        if (!runs.isEmpty() && runs.last().second == properties)
            runs.last().first += it.fragment().length();
        else
            runs.append({it.fragment().length(), properties});
    }
    return runs;
}

// Paragraph by paragraph, as the text control shows them.
void compareDocuments(const QTextDocument& actual, const QTextDocument& expected)
{
    QCOMPARE(actual.blockCount(), expected.blockCount());
    for (QTextBlock a = actual.begin(), e = expected.begin(); e.isValid(); a = a.next(), e = e.next()) {
        QCOMPARE(a.text(), e.text());
        QCOMPARE(a.userState(), e.userState());
        // Equal formats may list their properties in another order.
        QCOMPARE(a.blockFormat().properties(), e.blockFormat().properties());
        QCOMPARE(a.charFormat().properties(), e.charFormat().properties());
        QCOMPARE(runsOf(a), runsOf(e));
    }
}

void compareRecords(const RecoveryBlockList& actual, const RecoveryBlockList& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(actual[i].text, expected[i].text);
        QCOMPARE(actual[i].runs, expected[i].runs);
        QCOMPARE(actual[i].singleFormat, expected[i].singleFormat);
        QCOMPARE(actual[i].userState, expected[i].userState);
        QCOMPARE(actual[i].blockFormat, expected[i].blockFormat);
        QCOMPARE(actual[i].blockCharFormat, expected[i].blockCharFormat);
    }
}

QStringList textsOf(const RecoveryBlockList& list)
{
    QStringList texts;
    for (const RecoveryBlock& block : list)
        texts << block.text;
    return texts;
}

QString sessionWithEntry(const QString& root, const QString& name, const QString& caption)
{
    const QString folder = root + u'/' + name;
    QDir().mkpath(folder);
    RecoveryEntry entry;
    entry.header.caption = caption;
    QFile file(folder + QStringLiteral("/doc1.pwr"));
    if (!file.open(QIODevice::WriteOnly) || !writeRecoveryEntry(file, entry))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return folder;
}

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    Fixture f;

private slots:
    void cleanup()
    {
        setRecoveryPrompt({});
        DocumentRecovery::finish();
        f.stop();
    }

    // Random documents through the file format and back, and random edits
    // against the copy kept while they happen.
    void entriesGiveBackTheDocument_data()
    {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("edits");
        QTest::newRow("empty document") << 0 << 0;
        for (int seed = 1; seed <= 6; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << 40 * seed;
    }
    void entriesGiveBackTheDocument()
    {
        QFETCH(int, seed);
        QFETCH(int, edits);
        QRandomGenerator random{quint32(seed)};
        QTextDocument document;
        document.documentLayout();  // a document tells its changes only once it has one
        DocumentRecorder recorder(&document, [](RecoveryEntry& entry) { entry.header.caption = "Document 7"; },
                                  [] { return true; }, [](std::shared_ptr<const RecoveryEntry>) {});
        recorder.start();
        for (int i = 0; i < edits; ++i) {
            randomEdit(document, random);
            if (random.bounded(8) == 0)  // the copy completed now and then
                QVERIFY(QTest::qWaitFor([&] { return recorder.isComplete(); }));
        }
        const std::shared_ptr<const RecoveryEntry> kept = recorder.snapshotNow();
        const RecoveryEntry fresh = RecoveryEntry::ofDocument(document);
        compareRecords(kept->blocks, fresh.blocks);

        RecoveryEntry written = *kept;
        written.header = {"/tmp/a.txt", "/TMP/A.TXT", "/TMP/A.TXT", QDateTime::fromMSecsSinceEpoch(seed * 1000003LL)};
        written.backColor = 0x00ff8040;
        written.fileFormat = {TextFileFormat::Utf16BE, true, TextFileFormat::Cr};
        QBuffer bytes;
        bytes.open(QIODevice::ReadWrite);
        QVERIFY(writeRecoveryEntry(bytes, written));
        bytes.seek(0);
        RecoveryEntry read;
        QVERIFY(readRecoveryEntry(bytes, &read));
        QCOMPARE(read.header.filePath, written.header.filePath);
        QCOMPARE(read.header.lastChange, written.header.lastChange);
        QCOMPARE(read.backColor, written.backColor);
        QCOMPARE(read.baseFont, document.defaultFont());
        QCOMPARE(int(read.fileFormat.encoding), int(TextFileFormat::Utf16BE));
        QCOMPARE(int(read.fileFormat.lineBreak), int(TextFileFormat::Cr));
        QTextDocument restored;
        read.restoreInto(restored);
        compareDocuments(restored, document);

        // A file cut short is refused rather than restored in part.
        bytes.buffer().chop(1);
        bytes.seek(0);
        QCOMPARE(readRecoveryEntry(bytes, &read), false);
    }

    // The paged list against a plain one, with pages small enough to split
    // and empty often; a copy handed over keeps what it held.
    void blockListMatchesAPlainList()
    {
        QRandomGenerator random{11};
        RecoveryBlockList list(4), handedOver;
        QStringList expected, expectedHandedOver;
        for (int step = 0; step < 3000; ++step) {
            const int at = random.bounded(int(expected.size()) + 1);
            const int count = std::min(random.bounded(1, 10), int(expected.size()) - at);
            const QString text = QString::number(step);
            switch (random.bounded(6)) {
            case 0:
                for (int i = 0; i <= count; ++i, expected.insert(at, text))
                    list.insert(at, {text});
                break;
            case 1:
                list.append({text});
                expected.append(text);
                break;
            case 2:
                list.remove(at, count);
                expected.remove(at, count);
                break;
            case 3:
                if (at < expected.size()) {
                    list.replace(at, {text});
                    expected[at] = text;
                }
                break;
            case 4:
                if (random.bounded(20) == 0) {
                    list.truncate(at);
                    expected.resize(at);
                }
                break;
            default:
                QCOMPARE(textsOf(handedOver), expectedHandedOver);
                handedOver = list;
                expectedHandedOver = expected;
            }
            QCOMPARE(list.size(), expected.size());
            if (at < expected.size())
                QCOMPARE(list[at].text, expected[at]);
        }
        QCOMPARE(textsOf(list), expected);
    }

    // Only sessions whose run has ended are offered; once taken, an empty
    // one goes and one still holding entries is offered again.
    void endedSessionsOnly()
    {
        const QString root = testenv::root() + QStringLiteral("/sessions");
        RecoveryStore live(root);
        QVERIFY(live.open());
        QVERIFY(live.write(QStringLiteral("doc1"), RecoveryEntry{}));
        sessionWithEntry(root, QStringLiteral("session-nolock"), QStringLiteral("without lock"));
        const QString stale = sessionWithEntry(root, QStringLiteral("session-stale"), QStringLiteral("stale"));
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        {
            // A lock as a run leaves it when it is killed: its process is gone.
            QLockFile held(stale + QStringLiteral("/lock"));
            QVERIFY(held.tryLock(0));
            QFile lock(held.fileName());
            QVERIFY(lock.open(QIODevice::ReadOnly));
            QByteArray content = lock.readAll();
            lock.close();
            content.replace(0, content.indexOf('\n'), QByteArray::number(endedPid));
            held.unlock();
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(content);
            lock.close();
        }

        RecoveryStore next(root);
        QVERIFY(next.open());
        std::vector<RecoveryStore::Orphan> orphans = next.claimOrphans();
        QStringList captions;
        for (const auto& orphan : orphans)
            captions << orphan.header.caption;
        captions.sort();
        QCOMPARE(captions, (QStringList{"stale", "without lock"}));
        QVERIFY(next.claimOrphans().empty());  // a second look finds them taken
        QVERIFY(next.adopt(orphans[0].path, QStringLiteral("doc5")));
        next.releaseOrphans();
        QVERIFY(QFile::exists(next.entryPath(QStringLiteral("doc5"))));
        QCOMPARE(QDir(root).entryList({"session-*"}, QDir::Dirs).size(), 3);  // live, next, one still holding
        RecoveryStore third(root);
        QVERIFY(third.open());
        QCOMPARE(third.claimOrphans().size(), size_t(1));
        live.close();
        QVERIFY(QFile::exists(live.entryPath(QStringLiteral("doc1"))));  // kept entries keep the folder
    }

    // Which ends of a changed document keep its entry for the next start.
    void entryKeptOrDropped_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("kept");
        QTest::newRow("saved") << "save" << false;
        QTest::newRow("closed with No") << "no" << false;
        QTest::newRow("untitled typed in and emptied") << "emptied" << false;
        QTest::newRow("read-only file refused at close") << "read-only" << true;
        QTest::newRow("save failed") << "write failure" << true;
        QTest::newRow("ended by a signal") << "signal" << true;
    }
    void entryKeptOrDropped()
    {
        QFETCH(QString, end);
        QFETCH(bool, kept);
        f.start();
        DocumentRecovery* recovery = DocumentRecovery::start(f.path("recovery"));
        QVERIFY(recovery);
        recovery->attach(f.active());
        const QString path = f.file("sub/a.txt", "line\r\n");
        if (end != QLatin1String("emptied"))
            f.open(path);
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        f.type(QStringLiteral("typed"));
        const QString session = recovery->store().sessionPath();
        const QString entry = session + QStringLiteral("/doc1.pwr");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(entry), 3000);

        if (end == QLatin1String("save")) {
            f.command(Save);
        } else if (end == QLatin1String("no")) {
            f.boxes->answers = {vb::vbNo};
            f.command(Close);
        } else if (end == QLatin1String("emptied")) {
            f.text()->SetSel(0, -1);
            QTest::keyClick(f.text(), Qt::Key_Delete);
            QTest::qWait(DocumentRecorder::WriteDelayMs + 300);
        } else if (end == QLatin1String("read-only")) {
            QFile::setPermissions(path, QFileDevice::ReadOwner);
            f.type(QStringLiteral(" last"));  // not written yet when the window closes
            f.boxes->answers = {vb::vbYes};
            f.command(Close);
            QCOMPARE(f.prompts().last(), QStringLiteral("File is read-only and cannot be saved!"));
        } else if (end == QLatin1String("write failure")) {
            QDir(f.path("sub")).removeRecursively();
            writeBytes(f.path("sub"), "a file where the folder was");
            f.command(Save);
            QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        } else {
            f.type(QStringLiteral(" last"));
            recovery->keepAll();
            f.main->closeWithoutPrompts();
        }
        DocumentRecovery::finish();  // waits for the writes, then ends the session
        QCOMPARE(QFile::exists(entry), kept);
        QCOMPARE(QDir(session).exists(), kept);
        if (!kept)
            return;

        // The next run restores it into its empty first window, changed.
        f.restart();
        recovery = DocumentRecovery::start(f.path("recovery"));
        recovery->attach(f.active());
        QList<RecoveryOffer> offered;
        setRecoveryPrompt([&](const QList<RecoveryOffer>& offers) {
            offered = offers;
            return RecoveryDecision{RecoveryDecision::Restore, {true}};
        });
        offerRecoveredDocuments(*f.main, *recovery);
        QCOMPARE(offered.size(), 1);
        QCOMPARE(offered[0].caption, path.toUpper());
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active()->windowTitle(), path.toUpper());
        QCOMPARE(f.active()->filePath(), path);
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        const QString expected = end == QLatin1String("write failure") ? "line\r\ntyped" : "line\r\ntyped last";
        QCOMPARE(f.text()->Text(), expected);
        QVERIFY(QFile::exists(recovery->store().entryPath("doc1")));  // now this run's
    }
};

PAGEWELL_TEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
