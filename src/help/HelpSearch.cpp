#include "help/HelpSearch.h"

#include "help/HelpLibrary.h"
#include "help/HelpTopics.h"

#include <algorithm>

namespace {

constexpr int TitleWeight = 10;
constexpr int PhraseWeight = 5;  // the words together, as typed
const QString Ellipsis = QStringLiteral("...");

// Where the first of the words stands in the text, and its length; -1 when none does.
std::pair<qsizetype, qsizetype> firstMatch(const QString& text, const QStringList& words)
{
    std::pair<qsizetype, qsizetype> first{-1, 0};
    for (const QString& word : words) {
        const qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive);
        if (at >= 0 && (first.first < 0 || at < first.first))
            first = {at, word.size()};
    }
    return first;
}

}  // namespace

QString snippetAround(const QString& text, qsizetype position, qsizetype length, qsizetype width)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    qsizetype start = std::max<qsizetype>(0, position - width / 3);
    qsizetype end = std::min<qsizetype>(text.size(), std::max(position + length, start + width));
    // Whole words only: move the cuts out to the next blank or line break.
    while (start > 0 && !text.at(start - 1).isSpace())
        --start;
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    QString snippet = text.mid(start, end - start).simplified();
    if (start > 0)
        snippet.prepend(Ellipsis);
    if (end < text.size())
        snippet.append(Ellipsis);
    return snippet;
}

QList<HelpSearchResult> searchHelp(const HelpLibrary& library, const QString& query)
{
    const QStringList words = queryWords(query);
    QList<HelpSearchResult> results;
    if (words.isEmpty())
        return results;
    for (const QString& name : library.pageNames()) {
        if (name == help::SearchPage)
            continue;
        const HelpPage* page = library.page(name);
        int score = 0;
        bool all = true;
        for (const QString& word : words) {
            const int inTitle = int(page->title.count(word, Qt::CaseInsensitive));
            const int inText = int(page->text.count(word, Qt::CaseInsensitive));
            all = all && inTitle + inText > 0;
            score += TitleWeight * inTitle + inText;
        }
        if (!all)
            continue;
        if (words.size() > 1) {
            const QString phrase = words.join(QLatin1Char(' '));
            score += PhraseWeight * int(page->text.count(phrase, Qt::CaseInsensitive))
                     + TitleWeight * int(page->title.count(phrase, Qt::CaseInsensitive));
        }
        // The heading repeats the title, which the result shows already.
        const QString body = page->text.startsWith(page->title) ? page->text.mid(page->title.size()) : page->text;
        const auto [at, length] = firstMatch(body, words);
        results.append({name, page->title, snippetAround(body, std::max<qsizetype>(at, 0), length), score});
    }
    std::stable_sort(results.begin(), results.end(), [](const HelpSearchResult& a, const HelpSearchResult& b) {
        if (a.score != b.score)
            return a.score > b.score;
        return QString::compare(a.title, b.title, Qt::CaseInsensitive) < 0;
    });
    return results;
}
