// The help window and the Help menu's commands: the contents and search
// pages, links, history, the search box, failures, the dialogs' topics and
// On-Line Support.
#include "HelpFixture.h"
#include "help/Help.h"
#include "help/HelpLibrary.h"
#include "help/HelpTopics.h"
#include "help/HelpViewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>

using namespace helptest;

class TestHelpViewer : public QObject {
    Q_OBJECT

    Fixture f;
    QList<QUrl> opened;  // what went to the desktop's browser

    static void click(HelpViewer& viewer, const QString& link) { emit viewer.browser->anchorClicked(QUrl(link)); }
    static QString shownText(const HelpViewer& viewer) { return viewer.browser->toPlainText(); }

public slots:
    void openUrl(const QUrl& url) { opened << url; }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    void init()
    {
        opened.clear();
        f.start();
    }
    void cleanup() { f.stop(); }

    void opensOnTheContents()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        QCOMPARE(viewer.showContents(), QString());
        QVERIFY(viewer.isVisible());
        QVERIFY(!viewer.isModal());
        QCOMPARE(viewer.currentPage(), help::ContentsPage);
        QCOMPARE(viewer.browser->documentTitle(), QStringLiteral("Contents"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Pagewell Help - Contents"));
        QVERIFY(shownText(viewer).contains(QStringLiteral("Pagewell Help Contents")));
        QVERIFY(!viewer.actBack->isEnabled());
        QVERIFY(!viewer.actForward->isEnabled());
    }

    void opensOnTheSearchPageWithAnEmptyBox()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        viewer.showContents();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        QTest::keyClicks(viewer.txtSearch, QStringLiteral("print"));
        click(viewer, QStringLiteral("printing.html"));
        QCOMPARE(viewer.currentPage(), QStringLiteral("printing.html"));

        QCOMPARE(viewer.showSearch(), QString());
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QCOMPARE(viewer.txtSearch->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(viewer.txtSearch));
        // An empty box shows the whole keyword index.
        QVERIFY(shownText(viewer).contains(QStringLiteral("Keyword index")));
        QVERIFY(shownText(viewer).contains(QStringLiteral("Clipboard Append")));
    }

    void typingSearchesAndResultsLeadToPages()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        viewer.showContents();
        QTest::keyClicks(viewer.txtSearch, QStringLiteral("decoding"));
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QVERIFY(shownText(viewer).contains(QStringLiteral("Pages with \"decoding\"")));
        QVERIFY(shownText(viewer).contains(QStringLiteral("Clean: Decoding Web Form Text")));
        QVERIFY(viewer.browser->toHtml().contains(QStringLiteral("href=\"clean.html\"")));

        click(viewer, QStringLiteral("clean.html"));
        QCOMPARE(viewer.currentPage(), QStringLiteral("clean.html"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Pagewell Help - Clean: Decoding Web Form Text"));
        viewer.actBack->trigger();
        QCOMPARE(viewer.currentPage(), help::SearchPage);
        QVERIFY(shownText(viewer).contains(QStringLiteral("Pages with \"decoding\"")));
        viewer.actBack->trigger();
        QCOMPARE(viewer.currentPage(), help::ContentsPage);
        QVERIFY(viewer.actForward->isEnabled());
        viewer.actForward->trigger();
        viewer.actForward->trigger();
        QCOMPARE(viewer.currentPage(), QStringLiteral("clean.html"));
    }

    void linksAnchorsAndHistoryKeys()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        viewer.showContents();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        click(viewer, QStringLiteral("file-menu.html"));
        click(viewer, QStringLiteral("#saveas"));
        QCOMPARE(viewer.currentPage(), QStringLiteral("file-menu.html"));
        QCOMPARE(viewer.browser->source().fragment(), QStringLiteral("saveas"));
        click(viewer, QStringLiteral("file-formats.html#saving"));
        QCOMPARE(viewer.currentPage(), QStringLiteral("file-formats.html"));

        QTest::keyClick(&viewer, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(viewer.browser->source().fragment(), QStringLiteral("saveas"));
        QTest::keyClick(&viewer, Qt::Key_Left, Qt::AltModifier);
        QTest::keyClick(&viewer, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(viewer.currentPage(), help::ContentsPage);
        QTest::keyClick(&viewer, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(viewer.currentPage(), QStringLiteral("file-menu.html"));
        // The search box has the keys too.
        viewer.txtSearch->setFocus();
        QTest::keyClick(viewer.txtSearch, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(viewer.currentPage(), help::ContentsPage);

        click(viewer, QStringLiteral("printing.html"));
        viewer.actContents->trigger();
        QCOMPARE(viewer.currentPage(), help::ContentsPage);
        QTest::keyClick(&viewer, Qt::Key_Escape);
        QVERIFY(!viewer.isVisible());
    }

    void webLinksGoToTheBrowser()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        viewer.showPage(QStringLiteral("help-menu.html"));
        click(viewer, help::MakerWebPage.toString());
        QCOMPARE(opened, QList<QUrl>{help::MakerWebPage});
        QCOMPARE(viewer.currentPage(), QStringLiteral("help-menu.html"));
    }

    void placeBesideTheOwner_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("place");
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("room on the right") << QRect(67, 67, 433, 433) << screen << QPoint(508, 67);
        QTest::newRow("room on the left only") << QRect(700, 50, 500, 500) << screen << QPoint(52, 50);
        QTest::newRow("no room beside") << QRect(100, 0, 1100, 900) << screen << QPoint(640, 0);
        QTest::newRow("owner above the screen") << QRect(67, -20, 433, 433) << screen << QPoint(508, 0);
        QTest::newRow("second screen") << QRect(1300, 100, 300, 300) << QRect(1280, 0, 1024, 768) << QPoint(1608, 100);
    }
    void placeBesideTheOwner()
    {
        QFETCH(QRect, owner);
        QFETCH(QRect, screen);
        QFETCH(QPoint, place);
        QCOMPARE(helpWindowPlace(owner, QSize(640, 600), screen), place);
    }

    void toolbarPictures()
    {
        HelpViewer viewer(HelpLibrary::builtIn());
        const QPixmap picture = viewer.browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("toolbar:Find")))
                                    .value<QPixmap>();
        QCOMPARE(picture.size(), QSize(16, 16));
    }

    void failuresAreDescribed_data()
    {
        QTest::addColumn<QString>("folder");  // "" for the real help
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("named");
        QTest::newRow("no such page") << "" << "missing.html" << "missing.html";
        QTest::newRow("no help at all") << "empty-help" << QString(help::ContentsPage) << "missing";
    }
    void failuresAreDescribed()
    {
        QFETCH(QString, folder);
        QFETCH(QString, page);
        QFETCH(QString, named);
        const QString root = testenv::root() + u'/' + folder;
        QDir().mkpath(root);
        HelpLibrary empty(root);
        HelpViewer viewer(folder.isEmpty() ? HelpLibrary::builtIn() : empty);
        const QString failure = viewer.showPage(page);
        QVERIFY2(failure.contains(named), qPrintable(failure));
        QVERIFY(!viewer.isVisible());
    }

    // The Help menu and the toolbar's Help button share one help window.
    void helpCommandsShareOneWindow()
    {
        QCOMPARE(f.main->mnuHelpContents->shortcut(), QKeySequence(Qt::Key_F1));
        f.main->mnuHelpContents->trigger();
        HelpViewer* viewer = helpViewer();
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentPage(), help::ContentsPage);
        QCOMPARE(viewer->parentWidget(), f.main.get());
        QCOMPARE(viewer->pos(), helpWindowPlace(f.main->frameGeometry(), viewer->size(),
                                                f.main->screen()->availableGeometry()));

        QTest::keyClicks(viewer->txtSearch, QStringLiteral("tab"));
        f.main->mnuHelpSearch->trigger();
        QCOMPARE(helpViewer(), viewer);
        QCOMPARE(viewer->currentPage(), help::SearchPage);
        QCOMPARE(viewer->txtSearch->text(), QString());
        QCOMPARE(viewer->focusWidget(), static_cast<QWidget*>(viewer->txtSearch));

        f.main->tbToolBar_ButtonClick(QStringLiteral("Help"));
        QCOMPARE(helpViewer(), viewer);
        QCOMPARE(viewer->currentPage(), help::ContentsPage);
        QVERIFY(f.boxes->shown.isEmpty());
    }

    void f1OpensTheContents()
    {
        QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
        QTest::keyClick(f.main.get(), Qt::Key_F1);
        QTRY_VERIFY(helpViewer()->isVisible());
        QCOMPARE(helpViewer()->currentPage(), help::ContentsPage);
    }

    void aFailureIsReportedInAMessageBox()
    {
        QVERIFY(!showHelpPage(QStringLiteral("missing.html")));
        QCOMPARE(f.boxes->shown.size(), 1);
        const ShownMessage message = f.boxes->shown.first();
        QVERIFY2(message.prompt.contains(QStringLiteral("missing.html")), qPrintable(message.prompt));
        QCOMPARE(message.style, int(vb::vbOKOnly));
        QCOMPARE(message.title, QStringLiteral("Pagewell"));
    }

    void dialogTopics_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("1 file and printer dialogs") << 1 << "file-dialogs.html";
        QTest::newRow("2 font and colour dialogs") << 2 << "font-color-dialogs.html";
    }
    void dialogTopics()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        showHelpTopic(context);
        QCOMPARE(helpViewer()->currentPage(), page);
        QVERIFY(helpViewer()->isVisible());
    }

    // A modal dialog would block the help window unless it belongs to it;
    // once the dialog is gone the window goes back to the main window.
    void topicFromAModalDialog()
    {
        helpViewer()->showContents();
        QPointer<HelpViewer> viewer = helpViewer();
        QDialog dialog(f.main.get());
        QWidget* ownerWhileOpen = nullptr;
        WhenModal<QDialog> during([&](QDialog* shown) {
            showHelpTopic(1);
            ownerWhileOpen = helpViewer()->parentWidget();
            shown->accept();
        });
        dialog.exec();
        QVERIFY(during.answered());
        QCOMPARE(ownerWhileOpen, static_cast<QWidget*>(&dialog));
        QVERIFY(viewer);
        QCOMPARE(helpViewer(), viewer.data());
        QCOMPARE(viewer->parentWidget(), f.main.get());
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentPage(), QStringLiteral("file-dialogs.html"));
    }

    void onLineSupportOpensTheMakersPage()
    {
        QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
        QLineEdit elsewhere(f.main.get());
        elsewhere.show();
        elsewhere.setFocus();
        QTRY_VERIFY(elsewhere.hasFocus());
        f.main->mnuWeb_Click(0);  // the separator
        QVERIFY(opened.isEmpty());
        f.main->mnuWeb[1]->trigger();
        QCOMPARE(opened, QList<QUrl>{help::MakerWebPage});
        QVERIFY(help::MakerWebPage.toString().startsWith(QStringLiteral("https://")));
        QTRY_VERIFY(f.text()->hasFocus());
        QVERIFY(f.boxes->shown.isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
