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
    DocumentWordCount count(text.size());
    count.add(text);
    return count.total();
}

void DocumentWordCount::add(QStringView piece)
{
    m_pending.append(piece);
    if (m_length <= SliceLength)
        return;  // counted whole
    qsizetype slice = 0;  // in m_pending
    for (; m_pendingStart + slice <= m_length - SliceLength && slice + SliceLength <= m_pending.size();
         slice += SliceLength - SliceOverlap)
        m_total += countWords(QStringView(m_pending).mid(slice, SliceLength));
    m_pending.remove(0, slice);
    m_pendingStart += slice;
}

int DocumentWordCount::total() const { return m_total + countWords(m_pending); }

}  // namespace wordcount
