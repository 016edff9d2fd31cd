// The paragraph index against a plain vector under random edits: sums, line
// lookups and y lookups must agree after any mix of inserts and removals.
#include "TestEnvironment.h"
#include "document/ParagraphIndex.h"

#include <QRandomGenerator>
#include <numeric>

namespace {

using Entry = ParagraphIndex::Entry;

Entry entry(int height, int lines) { return {height, lines, 1, 1, float(height % 997)}; }

void compareWithModel(const ParagraphIndex& index, const std::vector<Entry>& model)
{
    QCOMPARE(index.count(), int(model.size()));
    std::int64_t y = 0, lines = 0;
    for (size_t i = 0; i < model.size(); ++i) {
        if (index.at(int(i)).height != model[i].height)
            QFAIL(qPrintable(QStringLiteral("height differs at %1").arg(i)));
        if (i % 97 == 0 || i + 1 == model.size()) {  // spot checks keep it quick
            QCOMPARE(index.top(int(i)), y);
            QCOMPARE(index.linesBefore(int(i)), lines);
            QCOMPARE(index.indexAtY(y), int(i));
            QCOMPARE(index.indexAtY(y + model[i].height - 1), int(i));
            QCOMPARE(index.indexAtLine(lines), int(i));
            QCOMPARE(index.indexAtLine(lines + model[i].lines - 1), int(i));
        }
        y += model[i].height;
        lines += model[i].lines;
    }
    QCOMPARE(index.totalHeight(), y);
    QCOMPARE(index.totalLines(), lines);
    float widest = 0;
    for (const Entry& e : model)
        widest = std::max(widest, e.width);
    QCOMPARE(index.widest(), widest);
}

}  // namespace

class TestParagraphIndex : public QObject {
    Q_OBJECT

private slots:
    void randomEditsMatchAPlainList_data()
    {
        QTest::addColumn<int>("initial");
        QTest::addColumn<int>("maxBatch");
        QTest::newRow("empty start, single entries") << 0 << 1;
        QTest::newRow("small, batches") << 50 << 40;
        QTest::newRow("many chunks, single entries") << 20000 << 1;
        QTest::newRow("many chunks, big batches") << 20000 << 3000;
    }
    void randomEditsMatchAPlainList()
    {
        QFETCH(int, initial);
        QFETCH(int, maxBatch);
        QRandomGenerator random(initial * 31 + maxBatch);
        auto randomEntry = [&] { return entry(random.bounded(1, 4000), random.bounded(1, 6)); };
        std::vector<Entry> model;
        for (int i = 0; i < initial; ++i)
            model.push_back(randomEntry());
        ParagraphIndex index;
        index.insert(0, model);
        for (int step = 0; step < 400; ++step) {
            const int op = random.bounded(3);
            const int at = random.bounded(int(model.size()) + 1);
            if (op == 0 || model.empty()) {
                std::vector<Entry> batch(size_t(random.bounded(1, maxBatch + 1)));
                for (Entry& e : batch)
                    e = randomEntry();
                index.insert(at, batch);
                model.insert(model.begin() + at, batch.begin(), batch.end());
            } else if (op == 1) {
                const int n = std::min(random.bounded(1, maxBatch + 1), int(model.size()) - at);
                index.remove(at, n);
                model.erase(model.begin() + at, model.begin() + at + n);
            } else if (at < int(model.size())) {
                const Entry changed = randomEntry();
                index.set(at, changed);
                model[size_t(at)] = changed;
            }
            if (step % 50 == 49)
                compareWithModel(index, model);
        }
        compareWithModel(index, model);
    }

    void lookupsOutsideTheRangeClamp()
    {
        ParagraphIndex index;
        QCOMPARE(index.indexAtY(10), -1);
        index.insert(0, {entry(64, 1), entry(128, 2)});
        QCOMPARE(index.indexAtY(-5), 0);
        QCOMPARE(index.indexAtY(1000), 1);
        QCOMPARE(index.indexAtLine(99), 1);
        QCOMPARE(index.top(2), 192);
        index.remove(0, 2);
        QCOMPARE(index.count(), 0);
        QCOMPARE(index.totalHeight(), 0);
        index.insert(0, {entry(5, 1)});
        QCOMPARE(index.totalHeight(), 5);
    }

    void forEachRecomputesTheSums()
    {
        ParagraphIndex index;
        index.insert(0, std::vector<Entry>(3000, entry(10, 1)));
        index.forEach([](Entry& e) { e.height = 20; e.lines = 2; });
        QCOMPARE(index.totalHeight(), 60000);
        QCOMPARE(index.top(1500), 30000);
        QCOMPARE(index.linesBefore(2999), 5998);
    }
};

PAGEWELL_TEST_MAIN(TestParagraphIndex)
#include "tst_paragraphindex.moc"
