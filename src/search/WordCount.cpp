#include "search/WordCount.h"

namespace wordcount {

int countWords(QStringView text)
{
    int count = 0;
    int run = 0;  // length of the run since the last separator
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const bool pair = c == u'\r' && i + 1 < n && text[i + 1] == u'\n';
        if (c == u' ' || c == u'\t' || c == u'|' || pair) {
            if (run >= 2)
                ++count;
            run = 0;
            i += pair ? 1 : 0;
        } else {
            ++run;
        }
    }
    return count;
}

int countDocumentWords(QStringView text)
{
    const qsizetype n = text.size();
    if (n <= SliceLength)
        return countWords(text);
    int total = 0;
    qsizetype pos = 0;
    for (; pos <= n - SliceLength; pos += SliceLength - SliceOverlap)
        total += countWords(text.mid(pos, SliceLength));
    return total + countWords(text.mid(pos));
}

}  // namespace wordcount
