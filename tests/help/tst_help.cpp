// The Help menu: every shipped page, link, picture and index entry leads
// somewhere; the keyword index and full-text search on a small sample; the
// help window; the About box and its memory lines.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/ToolbarLayout.h"
#include "document/RichTextBox.h"
#include "help/Form6.h"
#include "help/Help.h"
#include "help/HelpIndex.h"
#include "help/HelpLibrary.h"
#include "help/HelpSearch.h"
#include "help/HelpSearchPage.h"
#include "help/HelpTopics.h"
#include "help/HelpViewer.h"
#include "help/MemoryStatus.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QDesktopServices>
#include <QDir>
#include <QScreen>
#include <QTextBrowser>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

const HelpLibrary& shipped() { return HelpLibrary::builtIn(); }

// Where a link of a page leads: "page" or "page#anchor" when the anchor
// exists, the address for the maker's site, "broken" otherwise.
QString target(const HelpLibrary& library, const QString& page, const QString& link)
{
    const QUrl url = library.pageUrl(page).resolved(QUrl(link));
    const QString name = library.pageNameOf(url);
    if (name.isEmpty())
        return help::isMakerSite(url) ? url.toString() : QStringLiteral("broken");
    if (!url.hasFragment())
        return name;
    return library.page(name)->anchors.contains(url.fragment()) ? name + u'#' + url.fragment() : QStringLiteral("broken");
}

QStringList pagesOf(const QList<HelpSearchResult>& results)
{
    QStringList pages;
    for (const HelpSearchResult& result : results)
        pages << result.page;
    return pages;
}

QString page(const QString& title, const QString& body)
{
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>").arg(title, body);
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

    MainWindowFixture f;
    std::unique_ptr<HelpLibrary> sample;
    QList<QUrl> opened;  // what went to the desktop's browser

    static void click(HelpViewer& viewer, const QString& link) { emit viewer.browser->anchorClicked(QUrl(link)); }
    static QString shown(const HelpViewer& viewer) { return viewer.browser->toPlainText(); }

public slots:
    void openUrl(const QUrl& url) { opened << url; }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
        testenv::writeFile("sample/printing.html", page("Printing", "<p>Printing puts the document on paper. Print a "
                                                                    "selection to print less.</p>").toUtf8());
        testenv::writeFile("sample/margins.html", page("Margins", "<p>The margins of a printed page are set in inches; "
                                                                  "a bottom margin below one inch prints as one inch.</p>").toUtf8());
        testenv::writeFile("sample/clean.html", page("Clean", "<p>Clean decodes <b>%2C</b> &amp; friends &lt;here&gt;.</p>").toUtf8());
        testenv::writeFile("sample/search.html", page("Index and Search", "<p>Printing margins clean</p><!--results-->").toUtf8());
        testenv::writeFile("sample/keywords.txt", "# comment\nPrint\tprinting.html\nmargins\tmargins.html\n"
                                                  "Margins\tprinting.html#layout\nno tab here\n\nbottom margin\tmargins.html\n");
        sample = std::make_unique<HelpLibrary>(testenv::root() + QStringLiteral("/sample"));
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    void init()
    {
        opened.clear();
        f.start();
    }
    void cleanup() { f.stop(); }

    // ---- the shipped pages -----------------------------------------------

    // Every shipped file is in the resources; every link of every page (and
    // of the search page with the whole index), index entry and picture
    // resolves; the contents lists every page; the toolbar page shows every button.
    void everythingResolves()
    {
        const QString source = QFINDTESTDATA("../../resources/help");
        QVERIFY2(!source.isEmpty(), "resources/help not found beside the tests");
        QStringList broken, listed, buttons;
        for (const QString& file : QDir(source).entryList(QDir::Files))
            if (!QFileInfo::exists(help::ResourceFolder + u'/' + file))
                broken << file;
        QList<HelpPage> pages{parseHelpPage(help::SearchPage, searchPageHtml(shipped(), QString()))};
        for (const QString& name : shipped().pageNames())
            pages << *shipped().page(name);
        for (const HelpPage& page : pages) {
            QVERIFY2(!page.title.isEmpty() && !page.links.isEmpty(), qPrintable(page.name));
            for (const QString& link : page.links)
                if (target(shipped(), page.name, link) == QLatin1String("broken"))
                    broken << page.name + QStringLiteral(" -> ") + link;
            for (const QString& picture : page.images)
                if (QUrl(picture).scheme() == QLatin1String("toolbar"))
                    buttons << QUrl(picture).path();
                else if (!QFileInfo::exists(help::ResourceFolder + u'/' + picture))
                    broken << page.name + u' ' + picture;
        }
        for (const HelpIndexEntry& entry : shipped().index().entries())
            for (const QString& place : entry.targets)
                if (target(shipped(), help::ContentsPage, place) != place)
                    broken << entry.keyword + QStringLiteral(" -> ") + place;
        QCOMPARE(broken, QStringList());
        QVERIFY(shipped().index().entries().size() > 50);
        for (const QString& link : shipped().page(help::ContentsPage)->links)
            listed << target(shipped(), help::ContentsPage, link).section(u'#', 0, 0);
        QStringList unlisted;
        for (const QString& name : shipped().pageNames())
            if (name != help::ContentsPage && !listed.contains(name))
                unlisted << name;
        QCOMPARE(unlisted, QStringList());
        QStringList keys = ToolbarLayout::buttonKeys();
        std::sort(buttons.begin(), buttons.end());
        std::sort(keys.begin(), keys.end());
        QCOMPARE(buttons, keys);
        QVERIFY(shipped().page("help-menu.html")->links.contains(help::MakerWebPage.toString()));
    }

    // ---- index and search on a sample ------------------------------------

    void index()
    {
        const HelpIndex& index = sample->index();
        QStringList entries;
        for (const HelpIndexEntry& entry : index.entries())
            entries << entry.keyword + u'=' + entry.targets.join(u'+');
        // Sorted ignoring case; the first spelling of a keyword is kept.
        QCOMPARE(entries, (QStringList{"bottom margin=margins.html", "margins=margins.html+printing.html#layout",
                                       "Print=printing.html"}));
        QVERIFY(index.find(QStringLiteral("PRINT")) && !index.find(QStringLiteral("Prin")));
        const QList<std::pair<QString, QStringList>> queries = {
            {"", {"bottom margin", "margins", "Print"}}, {"MARG", {"bottom margin", "margins"}},
            {"margin bott", {"bottom margin"}}, {"paper", {}}};
        for (const auto& [query, keywords] : queries) {
            QStringList found;
            for (const HelpIndexEntry& entry : index.matching(query))
                found << entry.keyword;
            QCOMPARE(found, keywords);
        }
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
    }
    void search()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, pages);
        QCOMPARE(pagesOf(searchHelp(*sample, query)), pages);
    }

    void snippetsAndHighlighting()
    {
        QCOMPARE(searchHelp(*sample, QStringLiteral("paper")).value(0).snippet,  // the heading repeats the title: left out
                 QStringLiteral("Printing puts the document on paper. Print a selection to print less."));
        QCOMPARE(searchHelp(*sample, QStringLiteral("inch")).value(0).title, QStringLiteral("Margins"));
        QCOMPARE((QStringList{snippetAround("alpha beta", 6, 3, 40), snippetAround("one two three four five six seven eight", 19, 3, 12),
                              snippetAround("first\nsecond\n\nthird", 6, 3, 80), snippetAround("aaa bbb ccc", 8, 3, 3)}),
                 (QStringList{"alpha beta", "...four five six...", "first second third", "...bbb ccc"}));
        QCOMPARE((QStringList{highlightedHtml("Print or print", {"print"}), highlightedHtml("a<b & <b>", {"<b"}),
                              highlightedHtml("margins", {"marg", "margins"}), highlightedHtml("x < y", {})}),
                 (QStringList{"<b>Print</b> or <b>print</b>", "a<b>&lt;b</b> &amp; <b>&lt;b</b>&gt;", "<b>margins</b>",
                              "x &lt; y"}));
    }

    void searchPage()
    {
        const HelpPage all = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("  ")));
        // One link for a keyword of one place, one per place otherwise.
        QCOMPARE(all.links, QStringList({"margins.html", "printing.html#layout", "printing.html"}));
        QVERIFY(all.text.contains(QStringLiteral("margins: Margins, Printing")) && !all.text.contains("<!--results-->"));
        const HelpPage found = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("print")));
        QVERIFY(found.text.contains(QStringLiteral("2 pages found.")));
        QCOMPARE(found.links, QStringList({"printing.html", "margins.html"}));
        QVERIFY(found.text.contains(QStringLiteral("Printing puts the document on paper")));
        const HelpPage none = parseHelpPage(help::SearchPage, searchPageHtml(*sample, QStringLiteral("zebra")));
        QVERIFY(none.links.isEmpty() && none.text.contains(QStringLiteral("No page holds \"zebra\"")));
    }

    // ---- the help window ------------------------------------------------

    void browsing()
    {
        HelpViewer viewer(shipped());
        QCOMPARE(viewer.showContents(), QString());
        QVERIFY(viewer.isVisible() && !viewer.isModal());
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        QCOMPARE(viewer.currentPage(), help::ContentsPage);
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Pagewell Help - ") + viewer.browser->documentTitle());
        QVERIFY(!viewer.actBack->isEnabled() && !viewer.actForward->isEnabled());
        QTest::keyClicks(viewer.txtSearch, QStringLiteral("decoding"));  // typing searches at once
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QVERIFY(viewer.browser->toHtml().contains(QStringLiteral("href=\"clean.html\"")));
        click(viewer, QStringLiteral("clean.html"));
        click(viewer, QStringLiteral("#order"));
        click(viewer, QStringLiteral("file-formats.html#saving"));
        QCOMPARE(viewer.currentPage() + u'#' + viewer.browser->source().fragment(), QStringLiteral("file-formats.html#saving"));
        QStringList visited;
        for (int back = 0; back < 3; ++back) {
            QTest::keyClick(&viewer, Qt::Key_Left, Qt::AltModifier);
            visited << viewer.currentPage() + u'#' + viewer.browser->source().fragment();
        }
        viewer.actBack->trigger();
        visited << viewer.currentPage();
        QCOMPARE(visited, (QStringList{"clean.html#order", "clean.html#", "search.html#", help::ContentsPage}));
        QVERIFY(shown(viewer).contains(QStringLiteral("Pagewell Help Contents")));
        viewer.actForward->trigger();
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QVERIFY(shown(viewer).contains(QStringLiteral("Pages with \"decoding\"")));  // the search is shown again
        viewer.txtSearch->setFocus();
        QTest::keyClick(viewer.txtSearch, Qt::Key_Right, Qt::AltModifier);  // the search box has the keys too
        QCOMPARE(viewer.currentPage(), QStringLiteral("clean.html"));
        QCOMPARE(viewer.showSearch(), QString());  // the search page opens with an empty box: the whole index
        QCOMPARE(viewer.txtSearch->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(viewer.txtSearch));
        QVERIFY(shown(viewer).contains(QStringLiteral("Keyword index")));
        click(viewer, help::MakerWebPage.toString());
        QCOMPARE(opened, QList<QUrl>{help::MakerWebPage});
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QTest::keyClick(&viewer, Qt::Key_Escape);
        QVERIFY(!viewer.isVisible());
    }

    void failuresAreReported()
    {
        QDir().mkpath(testenv::root() + QStringLiteral("/empty-help"));
        HelpLibrary empty(testenv::root() + QStringLiteral("/empty-help"));
        HelpViewer nothing(empty);
        QVERIFY(nothing.showContents().contains(QStringLiteral("missing")));
        QVERIFY(!nothing.isVisible());
        QVERIFY(!showHelpPage(QStringLiteral("missing.html")));
        QCOMPARE(f.boxes->shown.size(), 1);
        QVERIFY(f.lastPrompt().contains(QStringLiteral("missing.html")));
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbOKOnly));
        QVERIFY(!helpViewer()->isVisible());
    }

    // F1, the Help menu and the toolbar's Help button share one window beside the main window.
    void helpCommandsShareOneWindow()
    {
        QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
        QTest::keyClick(f.main.get(), Qt::Key_F1);
        HelpViewer* viewer = helpViewer();
        QTRY_VERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentPage(), help::ContentsPage);
        QCOMPARE(viewer->parentWidget(), f.main.get());
        QCOMPARE(viewer->pos(), helpWindowPlace(f.main->frameGeometry(), viewer->size(), f.main->screen()->availableGeometry()));
        QTest::keyClicks(viewer->txtSearch, QStringLiteral("tab"));
        f.main->item("mnuHelpSearch")->trigger();
        QCOMPARE(helpViewer(), viewer);
        QCOMPARE(viewer->currentPage() + u'|' + viewer->txtSearch->text(), help::SearchPage + u'|');
        f.main->tbToolBar_ButtonClick(QStringLiteral("Help"));
        QCOMPARE(helpViewer(), viewer);
        QCOMPARE(viewer->currentPage(), help::ContentsPage);
        QVERIFY(f.prompts().isEmpty());
        // A dialog's topic opens over it while it is open; the window goes back
        // to the main window afterwards. Unknown topics show the contents.
        QDialog dialog(f.main.get());
        QWidget* ownerWhileOpen = nullptr;
        WhenModal<QDialog> during([&](QDialog* shownDialog) {
            showHelpTopic(1);
            ownerWhileOpen = helpViewer()->parentWidget();
            shownDialog->accept();
        });
        dialog.exec();
        QVERIFY(during.answered());
        QCOMPARE(ownerWhileOpen, static_cast<QWidget*>(&dialog));
        QCOMPARE(helpViewer()->parentWidget(), f.main.get());
        QStringList pages{helpViewer()->currentPage()};
        for (int context : {2, 7}) {
            showHelpTopic(context);
            pages << helpViewer()->currentPage();
        }
        QCOMPARE(pages, (QStringList{"file-dialogs.html", "font-color-dialogs.html", help::ContentsPage}));
        QVERIFY(helpViewer()->isVisible());
    }


    void memoryLines()
    {
        const quint64 KB = 1024;
        QStringList shown;
        for (quint64 bytes : {16 * KB * KB, 8000 * KB, quint64(0), quint64(512), KB * KB, 99999 * KB, 100000 * KB,
                              2 * KB * KB * KB, 6 * KB * KB * KB, KB << 30})
            shown << memoryAvailableLine(bytes).section(QStringLiteral("Windows:  "), 1);
        QCOMPARE(shown, (QStringList{"16,384 KB", "08,000 KB", "00,000 KB", "00,001 KB", "01,024 KB", "99,999 KB", "100,000 KB",
                                     "2,097,152 KB", "6,291,456 KB", "1,073,741,824 KB"}));
        QCOMPARE(formatZeroPadded5Grouped(1234567, QStringLiteral(".")), QStringLiteral("1.234.567"));
        QCOMPARE(formatZeroPadded5Grouped(8000.5), QStringLiteral("08,001"));  // halves round up
        QCOMPARE((QStringList{memoryInUseLine(0), memoryInUseLine(100)}),
                 (QStringList{"Physical Memory Currently In Use:  0%", "Physical Memory Currently In Use:  100%"}));
        Form6 box(f.main.get(), MemoryStatus{quint64(32768) * 1024, 61});  // the About box's lines
        QCOMPARE(box.Label6->text() + u'|' + box.Label7->text(),
                 QStringLiteral("Physical Memory Available to Windows:  32,768 KB|Physical Memory Currently In Use:  61%"));
    }

    void fromMeminfo_data()
    {
        QTest::addColumn<QString>("meminfo");
        QTest::addColumn<QString>("status");  // total bytes and load, or "unreadable"
        QTest::newRow("32 MB with 61 % in use") << "MemTotal:          32768 kB\nMemFree:            1000 kB\n"
                                                   "MemAvailable:      12780 kB\n" << "33554432 61";
        QTest::newRow("nothing in use") << "MemTotal: 1000 kB\nMemAvailable: 1000 kB\n" << "1024000 0";
        QTest::newRow("all in use") << "MemTotal: 1000 kB\nMemAvailable: 0 kB\n" << "1024000 100";
        QTest::newRow("a half rounds up") << "MemTotal: 1000 kB\nMemAvailable: 995 kB\n" << "1024000 1";
        QTest::newRow("without MemAvailable, MemFree") << "MemTotal: 2000 kB\nMemFree: 500 kB\nBuffers: 10 kB\n" << "2048000 75";
        QTest::newRow("over 4 GB") << "MemTotal:       24683784 kB\nMemAvailable:   23991720 kB\n" << "25276194816 3";
        QTest::newRow("another key ending in MemTotal") << "SwapMemTotal: 5 kB\n" << "unreadable";
        QTest::newRow("empty") << "" << "unreadable";
    }
    void fromMeminfo()
    {
        QFETCH(QString, meminfo);
        QFETCH(QString, status);
        const std::optional<MemoryStatus> read = memoryStatusFromMeminfo(meminfo);
        QCOMPARE(read ? QStringLiteral("%1 %2").arg(read->totalPhysicalBytes).arg(read->memoryLoad) : "unreadable", status);
    }

    // Help, About: the box stands 4200 and 1600 twips (15 a pixel) from the main
    // window's corner with the pointer on OK (its own caption allowance, 20 pixels)
    // and shows this machine's memory; then the document's text has the keyboard.
    void aboutCommand()
    {
        QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
        f.main->move(300, 150);
        QLineEdit elsewhere(f.main.get());
        elsewhere.show();
        elsewhere.setFocus();
        QTRY_COMPARE(f.main->focusWidget(), static_cast<QWidget*>(&elsewhere));
        QString lines;
        QPoint place, pointer;
        testsupport::WhenModal<Form6> answer([&](Form6* box) {
            lines = box->Label6->text() + u'|' + box->Label7->text();
            const QPushButton* ok = box->Command1;
            place = box->pos() - f.main->frameGeometry().topLeft();
            pointer = QCursor::pos() - box->frameGeometry().topLeft() - ok->mapTo(box, QPoint(ok->width() / 2 + 4, ok->height() / 2 + 20));
            QTest::keyClick(box, Qt::Key_Return);
        });
        f.main->item("mnuHelpAbout")->trigger();
        QVERIFY(answer.answered());
        QVERIFY2(lines.contains(QStringLiteral(" KB|")) && lines.endsWith(u'%'), qPrintable(lines));
        QCOMPARE(place, QPoint(280, 107));
        QVERIFY2(pointer.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(pointer.x()).arg(pointer.y())));
        // The main window is not made active again here, so ask for the widget it gives the keyboard to.
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

PAGEWELL_TEST_MAIN(TestHelp)
#include "tst_help.moc"
