#include "document/StoredText.h"

#include <QTextDocument>
#include <private/qtextdocument_p.h>

#include <algorithm>
#include <cstring>

StoredText::StoredText(const QTextDocument& document)
    : m_document(QTextDocumentPrivate::get(&document)), m_buffer(m_document->buffer())
{
}

int StoredText::length() const { return m_document->length(); }

QChar StoredText::at(int position) const
{
    const Stretch stretch = stretchAt(position, 1);
    return stretch.count > 0 ? m_buffer.at(stretch.at) : QChar();
}

StoredText::Stretch StoredText::stretchAt(int position, int limit) const
{
    if (position < 0 || position >= length() || limit <= 0)
        return {};
    auto fragment = m_document->find(position);
    const qsizetype start = fragment->stringPosition + (position - fragment.position());
    qsizetype end = fragment->stringPosition + fragment.size();
    // Pieces typed one after another follow each other in the buffer too.
    for (++fragment; end - start < limit && !fragment.atEnd() && fragment->stringPosition == end; ++fragment)
        end += fragment.size();
    return {start, int(std::min<qsizetype>(end - start, limit))};
}

QStringView StoredText::view(int from, int count, QString& scratch) const
{
    from = std::clamp(from, 0, length());
    count = std::clamp(count, 0, length() - from);
    const Stretch first = stretchAt(from, count);
    if (first.count == count)
        return QStringView(m_buffer).mid(first.at, count);
    scratch.resize(count);
    QChar* to = scratch.data();
    forEachStretch(from, from + count, [&to](QStringView stretch) {
        std::memcpy(to, stretch.data(), size_t(stretch.size()) * sizeof(QChar));
        to += stretch.size();
        return true;
    });
    return scratch;
}

QStringView StoredTextReader::read(int from, int count)
{
    if (from < m_start || from + count > m_start + m_chunk.size()) {
        m_start = from;
        m_chunk = m_stored.view(from, std::max(count, Chunk), m_scratch);
    }
    return m_chunk.mid(from - m_start, count);
}

void forEachCrLfPiece(const QTextDocument& document, const std::function<void(QStringView)>& take)
{
    constexpr qsizetype Piece = 1 << 20;
    const StoredText stored(document);
    QString piece(2 * Piece, Qt::Uninitialized);  // every character a break at worst
    stored.forEachStretch(0, stored.length() - 1, [&](QStringView stretch) {
        for (; !stretch.isEmpty(); stretch = stretch.sliced(std::min(stretch.size(), Piece))) {
            const QStringView part = stretch.first(std::min(stretch.size(), Piece));
            QChar* to = piece.data();
            // Whole lines at a time: indexOf and memcpy are vectorised.
            for (qsizetype start = 0, at; start < part.size(); start = at + 1) {
                at = part.indexOf(QChar::ParagraphSeparator, start);
                if (at < 0)
                    at = part.size();
                std::memcpy(to, part.data() + start, size_t(at - start) * sizeof(QChar));
                to += at - start;
                if (at < part.size()) {
                    *to++ = u'\r';
                    *to++ = u'\n';
                }
            }
            take(QStringView(piece.constData(), to));
        }
        return true;
    });
}

QString crLfText(const QTextDocument& document)
{
    QString text;
    text.reserve(qsizetype(document.characterCount()) + document.blockCount());
    forEachCrLfPiece(document, [&text](QStringView piece) { text.append(piece); });
    return text;
}
