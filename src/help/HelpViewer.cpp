#include "help/HelpViewer.h"

#include "core/ToolbarIcons.h"
#include "core/ToolbarLayout.h"
#include "help/HelpLibrary.h"
#include "help/HelpSearchPage.h"
#include "help/HelpTopics.h"

#include <QAction>
#include <QDesktopServices>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <algorithm>

namespace {

// Pictures named "toolbar:Key" are the toolbar's own button pictures.
const QString ToolbarPicture = QStringLiteral("toolbar");

// Serves the Index and Search page for the words in the search box, and
// the toolbar pictures; everything else comes from the help's folder.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(const HelpLibrary& library, const QLineEdit* searchBox, QWidget* parent)
        : QTextBrowser(parent), m_library(library), m_searchBox(searchBox)
    {
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type == QTextDocument::HtmlResource && m_library.pageNameOf(name) == help::SearchPage)
            return searchPageHtml(m_library, m_searchBox->text());
        if (type == QTextDocument::ImageResource && name.scheme() == ToolbarPicture)
            return toolbarIcon(ToolbarLayout::imageNumber(name.path())).pixmap(16, 16);
        return QTextBrowser::loadResource(type, name);
    }

private:
    const HelpLibrary& m_library;
    const QLineEdit* m_searchBox;
};

}  // namespace

HelpViewer::HelpViewer(const HelpLibrary& library, QWidget* parent) : QMainWindow(parent, Qt::Window), m_library(library)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Pagewell Help"));
    if (parent)
        setWindowIcon(parent->windowIcon());
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Type a word to find"));
    txtSearch->setClearButtonEnabled(true);
    browser = new HelpBrowser(m_library, txtSearch, this);
    browser->setObjectName(QStringLiteral("browser"));
    browser->setOpenLinks(false);  // anchorClicked decides: our pages here, the web in the browser
    browser->document()->setDefaultStyleSheet(m_library.readFile(help::StyleSheetFile));
    setCentralWidget(browser);
    createToolbar();
    resize(640, 600);

    connect(browser, &QTextBrowser::anchorClicked, this, &HelpViewer::browser_AnchorClicked);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpViewer::browser_SourceChanged);
    connect(browser, &QTextBrowser::backwardAvailable, actBack, &QAction::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, actForward, &QAction::setEnabled);
    connect(txtSearch, &QLineEdit::textChanged, this, &HelpViewer::txtSearch_TextChanged);
    connect(txtSearch, &QLineEdit::returnPressed, this, &HelpViewer::txtSearch_TextChanged);
}

void HelpViewer::createToolbar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("tbHelp"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->toggleViewAction()->setVisible(false);
    const auto action = [this, bar](QStyle::StandardPixmap icon, const QString& text, const QString& name,
                                    const QKeySequence& key) {
        QAction* made = bar->addAction(style()->standardIcon(icon), text);
        made->setObjectName(name);
        made->setShortcut(key);
        made->setToolTip(text + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        return made;
    };
    actBack = action(QStyle::SP_ArrowBack, QStringLiteral("Back"), QStringLiteral("actBack"),
                     QKeySequence(Qt::ALT | Qt::Key_Left));
    actForward = action(QStyle::SP_ArrowForward, QStringLiteral("Forward"), QStringLiteral("actForward"),
                        QKeySequence(Qt::ALT | Qt::Key_Right));
    actContents = action(QStyle::SP_DirHomeIcon, QStringLiteral("Contents"), QStringLiteral("actContents"),
                         QKeySequence(Qt::ALT | Qt::Key_Home));
    actIndex = action(QStyle::SP_FileDialogContentsView, QStringLiteral("Index and Search"),
                      QStringLiteral("actIndex"), QKeySequence(Qt::CTRL | Qt::Key_F));
    actBack->setEnabled(false);
    actForward->setEnabled(false);
    bar->addSeparator();
    auto* label = new QLabel(QStringLiteral("&Search: "), bar);
    label->setBuddy(txtSearch);
    bar->addWidget(label);
    bar->addWidget(txtSearch);

    auto* close = new QAction(this);
    close->setObjectName(QStringLiteral("actClose"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(close);

    connect(actBack, &QAction::triggered, browser, &QTextBrowser::backward);
    connect(actForward, &QAction::triggered, browser, &QTextBrowser::forward);
    connect(actContents, &QAction::triggered, this, &HelpViewer::showContents);
    connect(actIndex, &QAction::triggered, this, &HelpViewer::showSearch);
    connect(close, &QAction::triggered, this, &QWidget::close);
}

QString HelpViewer::showPage(const QString& page)
{
    const QString failure = go(m_library.pageUrl(page));
    if (failure.isEmpty())
        bringUp();
    return failure;
}

QString HelpViewer::showContents() { return showPage(help::ContentsPage); }

QString HelpViewer::showSearch()
{
    {
        const QSignalBlocker quiet(txtSearch);
        txtSearch->clear();
    }
    const QString failure = showPage(help::SearchPage);
    if (failure.isEmpty())
        txtSearch->setFocus(Qt::OtherFocusReason);
    return failure;
}

QString HelpViewer::currentPage() const { return m_library.pageNameOf(browser->source()); }

QString HelpViewer::go(const QUrl& url)
{
    const QString page = m_library.pageNameOf(url);
    if (m_library.isEmpty())
        return QStringLiteral("The help pages are missing from this copy of Pagewell.");
    if (page.isEmpty()) {
        return QStringLiteral("The help has no page \"%1\".")
            .arg(url.fileName().isEmpty() ? url.toDisplayString() : url.fileName());
    }
    // The same page again is reloaded, so that the search page follows the box.
    if (currentPage() == page && browser->source().fragment() == url.fragment())
        browser->reload();
    else
        browser->setSource(url);
    return QString();
}

QPoint helpWindowPlace(const QRect& owner, const QSize& size, const QRect& screen)
{
    constexpr int Gap = 8;
    int x = owner.right() + 1 + Gap;
    if (x + size.width() > screen.right() + 1)
        x = owner.left() - Gap - size.width();
    if (x < screen.left())
        x = screen.right() + 1 - size.width();
    return QPoint(std::max(x, screen.left()), std::max(owner.top(), screen.top()));
}

void HelpViewer::bringUp()
{
    if (!m_placed && parentWidget()) {
        const QWidget* owner = parentWidget()->window();
        if (const QScreen* screen = owner->screen())
            move(helpWindowPlace(owner->frameGeometry(), frameGeometry().size(), screen->availableGeometry()));
        m_placed = true;
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    browser->setFocus(Qt::OtherFocusReason);
}

void HelpViewer::browser_AnchorClicked(const QUrl& link)
{
    const QUrl target = browser->source().resolved(link);
    if (m_library.pageNameOf(target).isEmpty()) {
        // Anything but our own pages belongs to the desktop's browser.
        QDesktopServices::openUrl(target);
        return;
    }
    go(target);
}

void HelpViewer::browser_SourceChanged()
{
    const QString title = browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Pagewell Help") : QStringLiteral("Pagewell Help - ") + title);
}

void HelpViewer::txtSearch_TextChanged()
{
    go(m_library.pageUrl(help::SearchPage));
}
