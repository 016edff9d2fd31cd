// The help as shipped: every page reachable, every link, picture and index
// entry leading somewhere, and every command, dialog, shortcut and table of
// the program documented.
#include "ScriptedCommonDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/CustomizeToolbarDialog.h"
#include "app/Settings.h"
#include "app/ToolbarLayout.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/CleanRules.h"
#include "editing/DateTimeEntries.h"
#include "editing/frmTime.h"
#include "files/Form1.h"
#include "help/Form6.h"
#include "help/HelpLibrary.h"
#include "help/HelpSearchPage.h"
#include "help/HelpTopics.h"
#include "search/frmFind.h"
#include "search/frmGotoLine.h"
#include "search/frmReplace.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QQueue>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QToolBar>
#include <memory>

namespace {

const HelpLibrary& shipped() { return HelpLibrary::builtIn(); }

// A menu caption as the help names it: no access-key "&", no trailing "...".
QString plainCaption(QString caption)
{
    caption.remove(u'&');
    while (caption.endsWith(u'.'))
        caption.chop(1);
    return caption.trimmed();
}

// The search page as the viewer shows it with an empty search box: the
// whole keyword index.
HelpPage renderedSearchPage()
{
    return parseHelpPage(help::SearchPage, searchPageHtml(shipped(), QString()));
}

// The rows of the first table of a page whose header row starts with `firstHeader`.
QList<QStringList> tableRows(const QString& page, const QString& firstHeader)
{
    QTextDocument document;
    document.setHtml(shipped().readFile(page));
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QList<QStringList> rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
                cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
                cells << cursor.selectedText().replace(QChar::Nbsp, u' ');
            }
            rows << cells;
        }
        if (!rows.isEmpty() && rows.first().value(0) == firstHeader)
            return rows.mid(1);
    }
    return {};
}

std::unique_ptr<frmMain> startedMainWindow()
{
    testenv::clearSettings();
    auto main = std::make_unique<frmMain>();
    main->MDIForm_Load(QString());
    return main;
}

// Every command of the menu bar and of the context menu, by "Menu > Command",
// and the menus of the bar themselves (the context menu's own title is never shown).
QList<QPair<QString, QAction*>> menuCommands(frmMain& main)
{
    QList<QPair<QString, QAction*>> commands;
    QList<QPair<QString, QMenu*>> menus;
    for (QAction* entry : main.menuBar()->actions()) {
        if (entry->menu()) {
            menus.append({plainCaption(entry->menu()->title()), entry->menu()});
            commands.append({menus.last().first, entry});
        }
    }
    menus.append({QStringLiteral("context menu"), main.mnuCEdit});
    for (const auto& [name, menu] : menus) {
        for (QAction* item : menu->actions()) {
            if (!item->isSeparator())
                commands.append({name + QStringLiteral(" > ") + plainCaption(item->text()), item});
        }
    }
    return commands;
}

}  // namespace

class TestHelpContent : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedMessageBoxes> boxes;

    void checkLinks(const HelpPage& page)
    {
        const QUrl base = shipped().pageUrl(page.name);
        for (const QString& link : page.links) {
            const QUrl target = base.resolved(QUrl(link));
            const QString name = shipped().pageNameOf(target);
            if (name.isEmpty()) {
                QVERIFY2(help::isMakerSite(target),
                         qPrintable(QStringLiteral("%1 links to %2, neither a help page nor the maker's site")
                                        .arg(page.name, link)));
                continue;
            }
            if (target.hasFragment()) {
                QVERIFY2(shipped().page(name)->anchors.contains(target.fragment()),
                         qPrintable(QStringLiteral("%1 links to %2, which has no anchor \"%3\"")
                                        .arg(page.name, name, target.fragment())));
            }
        }
    }

private slots:
    void init() { boxes = std::make_unique<ScriptedMessageBoxes>(); }
    void cleanup() { boxes.reset(); }

    // A page or file left out of help.qrc would be missing from the program.
    void everyFileIsInTheResources()
    {
        const QString source = QFINDTESTDATA("../../resources/help");
        QVERIFY2(!source.isEmpty(), "resources/help not found beside the tests");
        const QStringList files = QDir(source).entryList(QDir::Files, QDir::Name);
        QVERIFY(files.contains(help::ContentsPage));
        for (const QString& file : files) {
            QVERIFY2(QFileInfo::exists(help::ResourceFolder + u'/' + file),
                     qPrintable(file + QStringLiteral(" is not in the program's resources")));
        }
        QVERIFY(!shipped().index().isEmpty());
    }

    void everyPageHasATitleAndText_data()
    {
        QTest::addColumn<QString>("page");
        for (const QString& name : shipped().pageNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyPageHasATitleAndText()
    {
        QFETCH(QString, page);
        const HelpPage* shown = shipped().page(page);
        QVERIFY(!shown->title.isEmpty());
        QVERIFY2(shown->text.simplified().size() > 300, qPrintable(page + QStringLiteral(" says next to nothing")));
    }

    void linksResolve_data()
    {
        QTest::addColumn<QString>("page");
        for (const QString& name : shipped().pageNames())
            QTest::newRow(qPrintable(name)) << name;
        QTest::newRow("search page with the whole index") << QString();
    }
    void linksResolve()
    {
        QFETCH(QString, page);
        const HelpPage shown = page.isEmpty() ? renderedSearchPage() : *shipped().page(page);
        QVERIFY(!shown.links.isEmpty());
        checkLinks(shown);
    }

    void picturesResolve()
    {
        int pictures = 0;
        for (const QString& name : shipped().pageNames()) {
            for (const QString& source : shipped().page(name)->images) {
                ++pictures;
                const QUrl url(source);
                if (url.scheme() == QLatin1String("toolbar"))
                    QVERIFY2(ToolbarLayout::imageNumber(url.path()) > 0, qPrintable(name + u' ' + source));
                else
                    QVERIFY2(QFileInfo::exists(help::ResourceFolder + u'/' + source), qPrintable(name + u' ' + source));
            }
        }
        QCOMPARE(pictures, int(ToolbarLayout::buttonKeys().size()));  // the toolbar page shows every button
    }

    void everyPageIsReachableFromTheContents()
    {
        QSet<QString> reached{help::ContentsPage};
        QQueue<QString> next;
        next.enqueue(help::ContentsPage);
        while (!next.isEmpty()) {
            const QString name = next.dequeue();
            for (const QString& link : shipped().page(name)->links) {
                const QString target = shipped().pageNameOf(shipped().pageUrl(name).resolved(QUrl(link)));
                if (!target.isEmpty() && !reached.contains(target)) {
                    reached.insert(target);
                    next.enqueue(target);
                }
            }
        }
        for (const QString& name : shipped().pageNames())
            QVERIFY2(reached.contains(name), qPrintable(name + QStringLiteral(" cannot be reached from the contents")));
    }

    void contentsLinksEveryPageDirectly()
    {
        const HelpPage* contents = shipped().page(help::ContentsPage);
        for (const QString& name : shipped().pageNames()) {
            if (name == help::ContentsPage)
                continue;
            const bool linked = std::any_of(contents->links.begin(), contents->links.end(), [&](const QString& link) {
                return link.section(u'#', 0, 0) == name;
            });
            QVERIFY2(linked, qPrintable(name + QStringLiteral(" is missing from the contents")));
        }
    }

    void topicPages_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("titleWord");
        QTest::newRow("1 file and printer dialogs") << 1 << "File";
        QTest::newRow("2 font and colour dialogs") << 2 << "Font";
        QTest::newRow("unknown topic") << 7 << "Contents";
    }
    void topicPages()
    {
        QFETCH(int, context);
        QFETCH(QString, titleWord);
        const HelpPage* page = shipped().page(help::topicPage(context));
        QVERIFY2(page, qPrintable(help::topicPage(context)));
        QVERIFY(page->title.contains(titleWord));
    }

    void menuCommandsAreIndexed_data()
    {
        QTest::addColumn<QString>("caption");
        auto main = startedMainWindow();
        const QList<QPair<QString, QAction*>> commands = menuCommands(*main);
        QVERIFY(commands.size() > 50);
        for (const auto& [path, action] : commands)
            QTest::newRow(qPrintable(path)) << plainCaption(action->text());
        for (QAction* button : main->tbToolBar->actions()) {
            if (!button->isSeparator())
                QTest::newRow(qPrintable(QStringLiteral("toolbar > ") + button->text())) << button->text();
        }
    }
    // The index leads to a page that names the command.
    void menuCommandsAreIndexed()
    {
        QFETCH(QString, caption);
        const HelpIndexEntry* entry = shipped().index().find(caption);
        QVERIFY2(entry, qPrintable(QStringLiteral("\"%1\" is not in the keyword index").arg(caption)));
        const bool named = std::any_of(entry->targets.begin(), entry->targets.end(), [&](const QString& target) {
            return shipped().page(target.section(u'#', 0, 0))->text.contains(caption, Qt::CaseInsensitive);
        });
        QVERIFY2(named, qPrintable(QStringLiteral("no page of \"%1\" in the index mentions it").arg(caption)));
    }

    void keywordTargetsResolve()
    {
        for (const HelpIndexEntry& entry : shipped().index().entries()) {
            for (const QString& target : entry.targets) {
                const HelpPage* page = shipped().page(target.section(u'#', 0, 0));
                QVERIFY2(page, qPrintable(entry.keyword + QStringLiteral(" -> ") + target));
                const QString anchor = target.section(u'#', 1);
                if (!anchor.isEmpty())
                    QVERIFY2(page->anchors.contains(anchor), qPrintable(entry.keyword + QStringLiteral(" -> ") + target));
            }
        }
    }

    void shortcutsAreDocumented_data()
    {
        QTest::addColumn<QString>("key");
        auto main = startedMainWindow();
        int shortcuts = 0;
        for (const auto& [path, action] : menuCommands(*main)) {
            if (action->shortcut().isEmpty())
                continue;
            ++shortcuts;
            QTest::newRow(qPrintable(path)) << action->shortcut().toString(QKeySequence::NativeText);
        }
        QVERIFY(shortcuts >= 17);
    }
    void shortcutsAreDocumented()
    {
        QFETCH(QString, key);
        QVERIFY2(shipped().page(QStringLiteral("shortcuts.html"))->text.contains(key),
                 qPrintable(key + QStringLiteral(" is missing from the shortcut keys")));
    }

    void dialogsHaveAPage_data()
    {
        QTest::addColumn<QString>("name");
        auto main = startedMainWindow();
        QTest::newRow("Find") << plainCaption(frmFind(main.get()).windowTitle());
        QTest::newRow("Replace") << plainCaption(frmReplace(main.get()).windowTitle());
        QTest::newRow("Go To Line") << plainCaption(frmGotoLine(main.get()).windowTitle());
        QTest::newRow("Date and Time") << frmTime(main.get()).windowTitle();
        Form1 fileTypes(main.get());  // captioned with the program's name; its heading names it
        QTest::newRow("File Types") << fileTypes.findChild<QLabel*>(QStringLiteral("Label2"))->text();
        QTest::newRow("Customize Toolbar") << CustomizeToolbarDialog(ToolbarLayout::standard(), main.get()).windowTitle();
        QTest::newRow("About") << Form6(main.get(), MemoryStatus{}).windowTitle();
        // Dialogs that other parts of the program show.
        QTest::newRow("Tab Set") << QStringLiteral("Tab Set");
        QTest::newRow("Page Setup") << QStringLiteral("Page Setup");
        QTest::newRow("Printing") << QStringLiteral("Printing");
    }
    void dialogsHaveAPage()
    {
        QFETCH(QString, name);
        QVERIFY(!name.isEmpty());
        bool titled = false;
        for (const QString& page : shipped().pageNames())
            titled = titled || shipped().page(page)->title.contains(name, Qt::CaseInsensitive);
        QVERIFY2(titled, qPrintable(QStringLiteral("no page is titled after the \"%1\" dialog").arg(name)));
        QVERIFY(shipped().index().find(name) || !shipped().index().matching(name).isEmpty());
    }

    // The Help button of the file dialogs leads to a page naming each of them.
    void fileDialogsAreOnTheirTopicPage()
    {
        ScriptedCommonDialogs dialogs;  // cancels every dialog
        auto main = startedMainWindow();
        main->FileOpen();
        main->FileInsert();
        main->ActiveDocument()->txtText->setText(QStringLiteral("some text"));
        main->FileSaveAs();
        main->FilePrintSetup();
        QCOMPARE(dialogs.calls.size(), 4);
        const HelpPage* topic = shipped().page(help::topicPage(help::TopicFileDialogs));
        for (const CommonDialogCall& call : dialogs.calls) {
            const QString name = call.action == CommonDialog::cdlPrintSetup ? QStringLiteral("Print Setup") : call.DialogTitle;
            QVERIFY2(topic->text.contains(name), qPrintable(name));
        }
    }

    void settingsFileIsNamed()
    {
        const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
        const QString stored = settingsFilePath(AppTitle);
        QVERIFY(stored.startsWith(configHome + u'/'));
        const QString inside = stored.mid(configHome.size());  // "/Pagewell/Pagewell.ini"
        const QString& text = shipped().page(QStringLiteral("settings.html"))->text;
        QVERIFY2(text.contains(QStringLiteral("$XDG_CONFIG_HOME") + inside), qPrintable(inside));
        QVERIFY2(text.contains(QStringLiteral("~/.config") + inside), qPrintable(inside));
    }

    // The decoding table lists the program's own rules, in their order.
    void cleanTableMatchesTheRules()
    {
        const QList<QStringList> rows = tableRows(QStringLiteral("clean.html"), QStringLiteral("Rule"));
        const QVector<CleanRule>& rules = cleanRules();
        QCOMPARE(rows.size(), rules.size());
        for (int i = 0; i < rules.size(); ++i) {
            QCOMPARE(rows[i].value(0), QString::number(i + 1));
            QCOMPARE(rows[i].value(1), rules[i].pattern);
            const QString becomes = rows[i].value(2);
            const QString replacement = rules[i].replacement;
            if (replacement.contains(u'\n'))
                QVERIFY2(becomes.contains(QStringLiteral("line break")), qPrintable(becomes));
            else if (replacement == QLatin1String(" "))
                QVERIFY2(becomes.contains(QStringLiteral("space")), qPrintable(becomes));
            else
                QVERIFY2(becomes.startsWith(replacement), qPrintable(becomes + QStringLiteral(" for ") + replacement));
        }
    }

    // The examples are what the dialog lists at that moment with US settings.
    void dateFormatExamplesMatchTheDialog()
    {
        const QList<QStringList> rows = tableRows(QStringLiteral("date-time-dialog.html"), QStringLiteral("No."));
        const QStringList entries = dateTimeEntries(QDateTime(QDate(2026, 12, 4), QTime(22, 5, 8)),
                                                    QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(rows.size(), DateTimeEntryCount);
        for (int i = 0; i < DateTimeEntryCount; ++i) {
            QCOMPARE(rows[i].value(0), QString::number(i + 1));
            QCOMPARE(rows[i].value(1), entries[i]);
        }
    }

    void headerAndFooterCodes_data()
    {
        QTest::addColumn<QString>("code");
        for (const char* code : {"&f", "&d", "&p", "None"})
            QTest::newRow(code) << QString::fromLatin1(code);
    }
    void headerAndFooterCodes()
    {
        QFETCH(QString, code);
        const QList<QStringList> rows = tableRows(QStringLiteral("page-setup-dialog.html"), QStringLiteral("Code"));
        const bool listed = std::any_of(rows.begin(), rows.end(), [&](const QStringList& row) {
            return row.value(0) == code && row.value(2).size() > 20;
        });
        QVERIFY2(listed, qPrintable(code));
    }

    void makersPageIsLinked()
    {
        bool linked = false;
        for (const QString& link : shipped().page(QStringLiteral("help-menu.html"))->links)
            linked = linked || QUrl(link) == help::MakerWebPage;
        QVERIFY(linked);
    }
};

PAGEWELL_TEST_MAIN(TestHelpContent)
#include "tst_helpcontent.moc"
