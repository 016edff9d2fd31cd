#include "document/CrLfText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstring>

// In one pass: QString::replace slows down badly with a million matches.
QString withCrLfBreaks(const QString& raw)
{
    constexpr QChar ParagraphSeparator(0x2029);
    const qsizetype breaks = raw.count(ParagraphSeparator);
    if (breaks == 0)
        return raw;
    QString out(raw.size() + breaks, Qt::Uninitialized);
    QChar* to = out.data();
    const QChar* from = raw.constData();
    // Whole lines at a time: indexOf and memcpy are vectorised.
    qsizetype start = 0;
    for (qsizetype at; (at = raw.indexOf(ParagraphSeparator, start)) >= 0; start = at + 1) {
        std::memcpy(to, from + start, size_t(at - start) * sizeof(QChar));
        to += at - start;
        *to++ = u'\r';
        *to++ = u'\n';
    }
    std::memcpy(to, from + start, size_t(raw.size() - start) * sizeof(QChar));
    return out;
}

int crLfLength(const QTextDocument& document)
{
    return (document.characterCount() - 1) + (document.blockCount() - 1);
}

int crLfIndex(const QTextDocument& document, int position)
{
    const QTextBlock block = document.findBlock(position);
    return position + std::max(0, block.blockNumber());
}

int documentPosition(const QTextDocument& document, int index)
{
    if (index <= 0)
        return 0;
    // The last paragraph starting at or before the index.
    int low = 0, high = document.blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (document.findBlockByNumber(mid).position() + mid <= index)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = document.findBlockByNumber(low);
    const int offset = index - (block.position() + low);
    return block.position() + std::min(offset, block.length() - 1);
}
