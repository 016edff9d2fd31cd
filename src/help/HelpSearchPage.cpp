#include "help/HelpSearchPage.h"

#include "help/HelpLibrary.h"
#include "help/HelpSearch.h"
#include "help/HelpTopics.h"

namespace {

const QString Marker = QStringLiteral("<!--results-->");

QString link(const QString& target, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), text);
}

QString targetTitle(const HelpLibrary& library, const QString& target)
{
    const HelpPage* page = library.page(target.section(QLatin1Char('#'), 0, 0));
    return page ? page->title : target;
}

// One line of the index: the keyword as the link when it leads to one
// place, else the keyword followed by the titles of its places.
QString indexLine(const HelpLibrary& library, const HelpIndexEntry& entry, const QStringList& words)
{
    const QString keyword = highlightedHtml(entry.keyword, words);
    if (entry.targets.size() == 1)
        return link(entry.targets.first(), keyword);
    QStringList places;
    for (const QString& target : entry.targets)
        places << link(target, targetTitle(library, target).toHtmlEscaped());
    return keyword + QStringLiteral(": ") + places.join(QStringLiteral(", "));
}

QString wholeIndex(const HelpLibrary& library)
{
    QString html = QStringLiteral("<h2>Keyword index</h2>\n");
    QChar letter;
    for (const HelpIndexEntry& entry : library.index().entries()) {
        const QChar initial = entry.keyword.at(0).toUpper();
        if (initial != letter) {
            html += (letter.isNull() ? QString() : QStringLiteral("</p>\n"))
                    + QStringLiteral("<h3>%1</h3>\n<p class=\"index\">").arg(QString(initial).toHtmlEscaped());
            letter = initial;
        } else {
            html += QStringLiteral("<br>\n");
        }
        html += indexLine(library, entry, {});
    }
    return html + (letter.isNull() ? QString() : QStringLiteral("</p>\n"));
}

QString matches(const HelpLibrary& library, const QString& query)
{
    const QStringList words = queryWords(query);
    const QString quoted = QStringLiteral("\"") + words.join(QLatin1Char(' ')).toHtmlEscaped() + QStringLiteral("\"");
    QString html = QStringLiteral("<h2>Keywords with %1</h2>\n").arg(quoted);
    const QList<HelpIndexEntry> keywords = library.index().matching(query);
    if (keywords.isEmpty())
        html += QStringLiteral("<p>No keyword holds %1.</p>\n").arg(quoted);
    else {
        QStringList lines;
        for (const HelpIndexEntry& entry : keywords)
            lines << indexLine(library, entry, words);
        html += QStringLiteral("<p class=\"index\">") + lines.join(QStringLiteral("<br>\n")) + QStringLiteral("</p>\n");
    }

    html += QStringLiteral("<h2>Pages with %1</h2>\n").arg(quoted);
    const QList<HelpSearchResult> pages = searchHelp(library, query);
    if (pages.isEmpty()) {
        html += QStringLiteral("<p>No page holds %1. Try fewer words, or a shorter part of a word.</p>\n").arg(quoted);
        return html;
    }
    html += QStringLiteral("<p>%1 found.</p>\n")
                .arg(pages.size() == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages.size()));
    for (const HelpSearchResult& result : pages) {
        html += QStringLiteral("<p class=\"result\">") + link(result.page, QStringLiteral("<b>%1</b>").arg(result.title.toHtmlEscaped()))
                + QStringLiteral("<br>\n") + highlightedHtml(result.snippet, words) + QStringLiteral("</p>\n");
    }
    return html;
}

}  // namespace

QString highlightedHtml(const QString& text, const QStringList& words)
{
    QString html;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype at = -1;
        qsizetype length = 0;
        for (const QString& word : words) {
            const qsizetype found = text.indexOf(word, from, Qt::CaseInsensitive);
            if (found >= 0 && (at < 0 || found < at || (found == at && word.size() > length))) {
                at = found;
                length = word.size();
            }
        }
        if (at < 0 || length == 0)
            break;
        html += text.mid(from, at - from).toHtmlEscaped() + QStringLiteral("<b>")
                + text.mid(at, length).toHtmlEscaped() + QStringLiteral("</b>");
        from = at + length;
    }
    return html + text.mid(from).toHtmlEscaped();
}

QString searchPageHtml(const HelpLibrary& library, const QString& query)
{
    QString page = library.readFile(help::SearchPage);
    const QString results = queryWords(query).isEmpty() ? wholeIndex(library) : matches(library, query);
    if (page.contains(Marker))
        return page.replace(Marker, results);
    const qsizetype end = page.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
    return end < 0 ? page + results : page.insert(end, results);
}
