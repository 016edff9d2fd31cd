#pragma once
// The help window: the help's pages in a browser with Back, Forward,
// Contents and Index and Search, and a search box whose words the Index and
// Search page answers as they are typed. Not modal; the program keeps one.
#include <QMainWindow>
#include <QUrl>

class HelpLibrary;
class QAction;
class QLineEdit;
class QTextBrowser;

class HelpViewer : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpViewer(const HelpLibrary& library, QWidget* parent = nullptr);

    // Each brings the window up on a page and returns "", or, when the page
    // cannot be shown, the description of the failure (the window is then
    // left as it was).
    QString showPage(const QString& page);
    QString showContents();
    // The Index and Search page, with an empty search box that has the focus.
    QString showSearch();

    // The page shown, e.g. "contents.html" ("" before the first).
    QString currentPage() const;

    QTextBrowser* browser = nullptr;
    QLineEdit* txtSearch = nullptr;
    QAction* actBack = nullptr;
    QAction* actForward = nullptr;
    QAction* actContents = nullptr;
    QAction* actIndex = nullptr;

private:
    void createToolbar();
    QString go(const QUrl& url);
    void bringUp();
    void browser_AnchorClicked(const QUrl& link);
    void browser_SourceChanged();
    void txtSearch_TextChanged();

    const HelpLibrary& m_library;
    bool m_placed = false;
};

// Where the help window first appears: beside its owner's frame, on the
// right if it fits on the screen, else on the left, else at the screen's
// right edge; never above the screen's top or left edge.
QPoint helpWindowPlace(const QRect& owner, const QSize& size, const QRect& screen);
