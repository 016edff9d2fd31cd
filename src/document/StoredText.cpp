#include "document/StoredText.h"

#include <QTextBlock>
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
    if (position < 0 || position >= length())
        return QChar();
    const auto fragment = m_document->find(position);
    return m_buffer.at(fragment->stringPosition + (position - fragment.position()));
}

void StoredText::forEachStretch(int from, int to, const std::function<bool(QStringView)>& take) const
{
    from = std::max(from, 0);
    to = std::min(to, length());
    if (from >= to)
        return;
    auto fragment = m_document->find(from);
    int stretchPosition = from;  // where the stretch begins in the document
    int position = fragment.position() + fragment.size();  // where it ends so far
    qsizetype start = fragment->stringPosition + (from - fragment.position());
    qsizetype end = fragment->stringPosition + fragment.size();
    for (++fragment; position < to && !fragment.atEnd(); ++fragment) {
        const int size = fragment.size();
        const qsizetype at = fragment->stringPosition;
        // Text typed with line breaks keeps its own break characters in the
        // buffer, but each paragraph gets a new one: an equal character in
        // place reads the same.
        const bool together = at == end || (size == 1 && end < m_buffer.size() && m_buffer[end] == m_buffer[at]);
        if (!together) {
            if (!take(QStringView(m_buffer).mid(start, position - stretchPosition)))
                return;
            stretchPosition = position;
            start = at;
            end = at;
        }
        end += size;
        position += size;
    }
    take(QStringView(m_buffer).mid(start, std::min(position, to) - stretchPosition));
}

QStringView StoredText::view(int from, int count, QString& scratch) const
{
    from = std::clamp(from, 0, length());
    count = std::clamp(count, 0, length() - from);
    QStringView whole;
    qsizetype done = 0;
    forEachStretch(from, from + count, [&](QStringView stretch) {
        if (done == 0 && stretch.size() == count) {
            whole = stretch;  // no copy needed
            return false;
        }
        if (done == 0)
            scratch.resize(count);
        std::memcpy(scratch.data() + done, stretch.data(), size_t(stretch.size()) * sizeof(QChar));
        done += stretch.size();
        return true;
    });
    return done > 0 ? QStringView(scratch.constData(), done) : whole;
}

FragmentWalk::FragmentWalk(const StoredText& stored)
    : m_stored(stored), m_node(stored.m_document->fragmentMap().firstNode())
{
}

QStringView FragmentWalk::text() const
{
    const auto* fragment = m_stored.m_document->fragmentMap().fragment(m_node);
    return QStringView(m_stored.m_buffer).mid(fragment->stringPosition, fragment->size_array[0]);
}

int FragmentWalk::formatIndex() const { return m_stored.m_document->fragmentMap().fragment(m_node)->format; }

void FragmentWalk::next() { m_node = m_stored.m_document->fragmentMap().next(m_node); }

QStringView StoredTextReader::read(int from, int count)
{
    if (from < m_start || from + count > m_start + m_chunk.size()) {
        m_start = from;
        m_chunk = m_stored.view(from, std::max(count, Chunk), m_scratch);
    }
    return m_chunk.mid(from - m_start, count);
}

namespace {

// Copies text to `to` with each paragraph break as CR LF; returns the end.
// Whole lines at a time: indexOf and memcpy are vectorised.
QChar* copyWithCrLf(QStringView text, QChar* to)
{
    for (qsizetype start = 0, at; start < text.size(); start = at + 1) {
        at = text.indexOf(QChar::ParagraphSeparator, start);
        if (at < 0)
            at = text.size();
        std::memcpy(to, text.data() + start, size_t(at - start) * sizeof(QChar));
        to += at - start;
        if (at < text.size()) {
            *to++ = u'\r';
            *to++ = u'\n';
        }
    }
    return to;
}

}  // namespace

bool forEachCrLfPiece(const QTextDocument& document, const std::function<bool(QStringView)>& take, int from, int to)
{
    constexpr qsizetype Piece = 1 << 20;
    const StoredText stored(document);
    QString piece(2 * Piece, Qt::Uninitialized);  // every character a break at worst
    bool finished = true;
    stored.forEachStretch(from, to < 0 ? stored.length() - 1 : to, [&](QStringView stretch) {
        for (; !stretch.isEmpty(); stretch = stretch.sliced(std::min(stretch.size(), Piece))) {
            const QChar* end = copyWithCrLf(stretch.first(std::min(stretch.size(), Piece)), piece.data());
            if (!take(QStringView(piece.constData(), end))) {
                finished = false;
                return false;
            }
        }
        return true;
    });
    return finished;
}

QString crLfText(const QTextDocument& document, int from, int to, const std::function<void()>& between)
{
    if (to < 0)
        to = document.characterCount() - 1;
    if (from >= to)
        return QString();
    const int breaks = document.findBlock(to).blockNumber() - document.findBlock(from).blockNumber();
    QString text(qsizetype(to - from) + breaks, Qt::Uninitialized);
    QChar* end = text.data();
    const QChar* pausedAt = end;
    StoredText(document).forEachStretch(from, to, [&](QStringView stretch) {
        end = copyWithCrLf(stretch, end);
        if (between && end - pausedAt >= (1 << 16)) {
            between();
            pausedAt = end;
        }
        return true;
    });
    text.truncate(end - text.constData());
    return text;
}
