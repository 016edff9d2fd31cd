// The keyword index, the full-text search with its snippets, and the Index
// and Search page built from them.
#include "TestEnvironment.h"
#include "help/HelpIndex.h"
#include "help/HelpLibrary.h"
#include "help/HelpSearch.h"
#include "help/HelpSearchPage.h"
#include "help/HelpTopics.h"

#include <QApplication>
#include <memory>

namespace {

QString page(const QString& title, const QString& body)
{
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>").arg(title, body);
}

QStringList pagesOf(const QList<HelpSearchResult>& results)
{
    QStringList pages;
    for (const HelpSearchResult& result : results)
        pages << result.page;
    return pages;
}

}  // namespace

class TestHelpSearch : public QObject {
    Q_OBJECT

    std::unique_ptr<HelpLibrary> sample;

private slots:
    void initTestCase()
    {
        const QString folder = testenv::root() + QStringLiteral("/sample-help");
        testenv::writeFile(QStringLiteral("sample-help/printing.html"),
                           page(QStringLiteral("Printing"),
                                QStringLiteral("<p>Printing puts the document on paper. Print a selection to print "
                                               "less.</p>")).toUtf8());
        testenv::writeFile(QStringLiteral("sample-help/margins.html"),
                           page(QStringLiteral("Margins"),
                                QStringLiteral("<p>The margins of a printed page are set in inches; a bottom "
                                               "margin below one inch prints as one inch.</p>")).toUtf8());
        testenv::writeFile(QStringLiteral("sample-help/clean.html"),
                           page(QStringLiteral("Clean"),
                                QStringLiteral("<p>Clean decodes <b>%2C</b> &amp; friends &lt;here&gt;.</p>")).toUtf8());
        testenv::writeFile(QStringLiteral("sample-help/search.html"),
                           page(QStringLiteral("Index and Search"),
                                QStringLiteral("<p>Printing margins clean</p><!--results-->")).toUtf8());
        testenv::writeFile(QStringLiteral("sample-help/keywords.txt"),
                           "# comment\n"
                           "Print\tprinting.html\n"
                           "margins\tmargins.html\n"
                           "Margins\tprinting.html#layout\n"
                           "no tab here\n"
                           "\n"
                           "bottom margin\tmargins.html\n");
        sample = std::make_unique<HelpLibrary>(folder);
        QCOMPARE(sample->pageNames().size(), 4);
    }

    void indexParsing()
    {
        const HelpIndex& index = sample->index();
        QCOMPARE(index.entries().size(), 3);
        // Sorted ignoring case; the first spelling of a keyword is kept.
        QCOMPARE(index.entries()[0].keyword, QStringLiteral("bottom margin"));
        QCOMPARE(index.entries()[1].keyword, QStringLiteral("margins"));
        QCOMPARE(index.entries()[1].targets, QStringList({"margins.html", "printing.html#layout"}));
        QCOMPARE(index.entries()[2].keyword, QStringLiteral("Print"));
        QVERIFY(index.find(QStringLiteral("PRINT")));
        QVERIFY(!index.find(QStringLiteral("Prin")));
    }

    void indexMatching_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("empty gives all") << "" << QStringList{"bottom margin", "margins", "Print"};
        QTest::newRow("part of a word, any case") << "MARG" << QStringList{"bottom margin", "margins"};
        QTest::newRow("every word must match") << "margin bott" << QStringList{"bottom margin"};
        QTest::newRow("nothing") << "paper" << QStringList{};
    }
    void indexMatching()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, keywords);
        QStringList found;
        for (const HelpIndexEntry& entry : sample->index().matching(query))
            found << entry.keyword;
        QCOMPARE(found, keywords);
    }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("pages");
        // Title matches count ten times; the search page itself never appears.
        QTest::newRow("word in title and text") << "print" << QStringList{"printing.html", "margins.html"};
        QTest::newRow("any case") << "MARGINS" << QStringList{"margins.html"};
        QTest::newRow("all words") << "bottom inch" << QStringList{"margins.html"};
        QTest::newRow("one word missing") << "bottom paper" << QStringList{};
        QTest::newRow("markup is not text") << "<b>" << QStringList{};
        QTest::newRow("entities are text") << "& friends" << QStringList{"clean.html"};
        QTest::newRow("blanks only") << "   " << QStringList{};
        QTest::newRow("unknown") << "zebra" << QStringList{};
    }
    void search()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, pages);
        QCOMPARE(pagesOf(searchHelp(*sample, query)), pages);
    }

    void snippetAroundFirstMatch()
    {
        const QList<HelpSearchResult> results = searchHelp(*sample, QStringLiteral("inch"));
        QCOMPARE(results.size(), 1);
        QCOMPARE(results[0].title, QStringLiteral("Margins"));
        QVERIFY(results[0].snippet.contains(QStringLiteral("set in inches")));
        QVERIFY(!results[0].snippet.contains(u'\n'));
        // The page's heading repeats its title and is left out.
        QCOMPARE(searchHelp(*sample, QStringLiteral("paper")).value(0).snippet,
                 QStringLiteral("Printing puts the document on paper. Print a selection to print less."));
    }

    void snippetCuts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("snippet");
        QTest::newRow("short text whole") << "alpha beta" << 6 << 40 << "alpha beta";
        QTest::newRow("cut at both ends on blanks")
            << "one two three four five six seven eight" << 19 << 12 << "...four five six...";
        QTest::newRow("lines joined") << "first\nsecond\n\nthird" << 6 << 80 << "first second third";
        QTest::newRow("match at the end") << "aaa bbb ccc" << 8 << 3 << "...bbb ccc";
    }
    void snippetCuts()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, width);
        QFETCH(QString, snippet);
        QCOMPARE(snippetAround(text, position, 3, width), snippet);
    }

    void highlighting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("html");
        QTest::newRow("every occurrence, any case") << "Print or print" << QStringList{"print"}
                                                    << "<b>Print</b> or <b>print</b>";
        QTest::newRow("escaped around and inside") << "a<b & <b>" << QStringList{"<b"}
                                                   << "a<b>&lt;b</b> &amp; <b>&lt;b</b>&gt;";
        QTest::newRow("longer word wins at one place") << "margins" << QStringList{"marg", "margins"}
                                                       << "<b>margins</b>";
        QTest::newRow("no words") << "x < y" << QStringList{} << "x &lt; y";
    }
    void highlighting()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(QString, html);
        QCOMPARE(highlightedHtml(text, words), html);
    }

    void searchPageWithoutWordsShowsTheWholeIndex()
    {
        const HelpPage shown = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("  ")));
        QCOMPARE(shown.title, QStringLiteral("Index and Search"));
        QVERIFY(shown.text.contains(QStringLiteral("Keyword index")));
        // One link for a keyword of one place, one per place otherwise.
        QCOMPARE(shown.links, QStringList({"margins.html", "printing.html#layout", "printing.html"}));
        QVERIFY(shown.text.contains(QStringLiteral("margins: Margins, Printing")));
        QVERIFY(!shown.text.contains(QStringLiteral("<!--results-->")));
    }

    void searchPageWithWords()
    {
        const HelpPage shown = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("print")));
        QVERIFY(shown.text.contains(QStringLiteral("Keywords with \"print\"")));
        QVERIFY(shown.text.contains(QStringLiteral("2 pages found.")));
        QCOMPARE(shown.links, QStringList({"printing.html", "margins.html"}));
        QVERIFY(shown.text.contains(QStringLiteral("Printing puts the document on paper")));

        const HelpPage none = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("zebra")));
        QVERIFY(none.links.isEmpty());
        QVERIFY(none.text.contains(QStringLiteral("No page holds \"zebra\"")));
    }

    // The help as shipped answers a user's words with the right pages.
    void realHelpFindsKnownWords_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("page");
        QTest::newRow("decoding") << "decoding" << "clean.html";
        QTest::newRow("settings file") << "Pagewell.ini" << "settings.html";
        QTest::newRow("two words") << "overtype insert" << "overview.html";
        QTest::newRow("header code") << "&f" << "page-setup-dialog.html";
        QTest::newRow("memory") << "physical memory" << "about-box.html";
        QTest::newRow("wrapping") << "word wrap" << "options-menu.html";
    }
    void realHelpFindsKnownWords()
    {
        QFETCH(QString, query);
        QFETCH(QString, page);
        const QStringList pages = pagesOf(searchHelp(HelpLibrary::builtIn(), query));
        QVERIFY2(pages.contains(page), qPrintable(pages.join(u' ')));
        QVERIFY(pages.indexOf(page) < 3);
        QVERIFY(pagesOf(searchHelp(HelpLibrary::builtIn(), query + QStringLiteral(" qqqq"))).isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestHelpSearch)
#include "tst_helpsearch.moc"
