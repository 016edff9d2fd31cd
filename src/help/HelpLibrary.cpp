#include "help/HelpLibrary.h"

#include "help/HelpTopics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>

// Resources of a static library must be registered by name.
static void initHelpResources() { Q_INIT_RESOURCE(help); }

HelpPage parseHelpPage(const QString& name, const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    HelpPage page;
    page.name = name;
    page.title = document.metaInformation(QTextDocument::DocumentTitle).trimmed();
    // Pictures stand in the text as one object character each.
    page.text = document.toPlainText().remove(QChar::ObjectReplacementCharacter);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                page.images << format.toImageFormat().name();
            if (!format.isAnchor())
                continue;
            page.anchors << format.anchorNames();
            if (!format.anchorHref().isEmpty())
                page.links << format.anchorHref();
        }
    }
    // A link whose text changes format comes in several fragments.
    page.links.removeDuplicates();
    page.anchors.removeDuplicates();
    return page;
}

HelpLibrary::HelpLibrary(const QString& folder) : m_folder(QDir::cleanPath(folder))
{
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
        m_pages.insert(name, parseHelpPage(name, readFile(name)));
    m_index = HelpIndex::parse(readFile(help::KeywordFile));
}

const HelpLibrary& HelpLibrary::builtIn()
{
    initHelpResources();
    static const HelpLibrary library(help::ResourceFolder);
    return library;
}

const HelpPage* HelpLibrary::page(const QString& name) const
{
    const auto it = m_pages.constFind(name);
    return it == m_pages.constEnd() ? nullptr : &*it;
}

QUrl HelpLibrary::pageUrl(const QString& name) const
{
    const QString path = m_folder + QLatin1Char('/') + name;
    if (path.startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + path);
    return QUrl::fromLocalFile(path);
}

QString HelpLibrary::pageNameOf(const QUrl& url) const
{
    QString path;
    if (url.scheme() == QLatin1String("qrc"))
        path = QLatin1Char(':') + url.path();
    else if (url.isLocalFile())
        path = url.toLocalFile();
    else
        return QString();
    const QFileInfo file(QDir::cleanPath(path));
    if (QDir::cleanPath(file.path()) != m_folder || !m_pages.contains(file.fileName()))
        return QString();
    return file.fileName();
}

QString HelpLibrary::readFile(const QString& name) const
{
    QFile file(m_folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}
