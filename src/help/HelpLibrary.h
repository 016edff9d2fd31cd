#pragma once
// The help's pages, read from one folder (the program's resources, or any
// folder in tests): each page's title, its text as the viewer shows it, the
// links and pictures it refers to and the anchors others can link to, and
// the keyword index of the folder's keywords.txt.
#include "help/HelpIndex.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

struct HelpPage {
    QString name;         // file name in the folder, e.g. "file-menu.html"
    QString title;        // the page's <title>
    QString text;         // plain text, as the viewer shows it
    QStringList links;    // every href, as written
    QStringList anchors;  // names a link can point at with #name
    QStringList images;   // every picture's source, as written
};

class HelpLibrary {
public:
    // Reads every *.html in the folder, and keywords.txt when there is one.
    explicit HelpLibrary(const QString& folder);

    // The help in the program's resources, read once.
    static const HelpLibrary& builtIn();

    QString folder() const { return m_folder; }
    bool isEmpty() const { return m_pages.isEmpty(); }
    QStringList pageNames() const { return m_pages.keys(); }  // sorted
    const HelpPage* page(const QString& name) const;
    const HelpIndex& index() const { return m_index; }

    // "qrc:/help/contents.html" for the resources, a file URL otherwise.
    QUrl pageUrl(const QString& name) const;
    // The name of the page of this library that a URL shows, fragment and
    // query aside; "" when the URL shows none of them.
    QString pageNameOf(const QUrl& url) const;

    // A file of the folder as text ("" when it cannot be read).
    QString readFile(const QString& name) const;

private:
    QString m_folder;
    QMap<QString, HelpPage> m_pages;
    HelpIndex m_index;
};

// The page of an HTML text: title, plain text, links, anchors and pictures
// as the viewer's rich text engine reads them.
HelpPage parseHelpPage(const QString& name, const QString& html);
