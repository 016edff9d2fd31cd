// LazyTextLayout's very long paragraphs: each is laid out in pieces of its
// own (see LongParagraph), and only the pieces shown or asked for are laid
// out; the paragraph's own QTextLayout stays without lines, since anything
// Qt does with it costs the whole paragraph.
#include "document/LazyTextLayout.h"

#include "document/LazyTextLayoutUnits.h"

#include <QPainter>
#include <QTextDocument>
#include <climits>
#include <cmath>

using namespace lazylayout;

QRectF LazyTextLayout::paragraphRect(int number) const
{
    const Entry& entry = m_index.at(number);
    const qreal width = wraps() ? document()->pageSize().width() - 2 * margin() : entry.width;
    return QRectF(margin(), margin() + toPixels(m_index.top(number)), width, toPixels(entry.height));
}

// The block's pieces, in step with its length and with this layout pass.
LongParagraph* LazyTextLayout::longParagraph(const QTextBlock& block) const
{
    QTextBlock owner = block;
    auto* paragraph = dynamic_cast<LongParagraph*>(block.userData());
    if (!paragraph) {
        paragraph = new LongParagraph;
        owner.setUserData(paragraph);
    }
    if (block.layout()->lineCount() > 0)
        block.layout()->clearLayout();  // from when it was short: Qt must not use it
    const int length = block.length() - 1;
    if (paragraph->generation != m_generation) {
        paragraph->generation = m_generation;
        for (LongParagraph::Piece& piece : paragraph->pieces) {
            paragraph->forget(piece);
            piece.height = -1;
        }
    }
    if (paragraph->textLength() != length)
        paragraph->reset(length);
    for (const LongParagraph::Piece& piece : paragraph->pieces) {
        if (piece.length > 2 * LongParagraph::PieceLength) {
            paragraph->split([&](int start, int count) { return textOf(block, start, count); });
            break;
        }
    }
    const bool wrapping = wraps();
    const Estimator estimate = estimator();
    for (LongParagraph::Piece& piece : paragraph->pieces) {
        if (piece.height >= 0)
            continue;
        const Entry guess = estimate(piece.length + 1);
        piece.height = wrapping ? guess.height : estimate.lineHeight;
        piece.lines = wrapping ? guess.lines : 1;
        piece.width = wrapping ? wrapWidth() : piece.length * m_charWidth;
    }
    return paragraph;
}

// Never through a cursor: moving one asks the paragraph's own layout where
// it is, which costs the whole paragraph after every edit.
QString LazyTextLayout::textOf(const QTextBlock& block, int start, int length) const
{
    const int from = block.position() + start;
    const int to = from + length;
    if (length <= 2 * LongParagraph::PieceLength) {
        // Fragments may be megabytes long: a piece's characters one by one.
        QString text(length, Qt::Uninitialized);
        QChar* out = text.data();
        for (int at = from; at < to; ++at)
            *out++ = document()->characterAt(at);
        return text;
    }
    QString text;
    text.reserve(length);
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int begin = std::max(from, fragment.position());
        const int end = std::min(to, fragment.position() + fragment.length());
        if (begin < end)
            text += fragment.text().mid(begin - fragment.position(), end - begin);
    }
    return text;
}

void LazyTextLayout::layOutPiece(const QTextBlock& block, LongParagraph* paragraph, int index, bool keep) const
{
    LongParagraph::Piece& piece = paragraph->pieces[size_t(index)];
    piece.used = ++m_pieceClock;
    if (piece.measured && (piece.layout || !keep))
        return;
    const int start = paragraph->startOf(index);
    auto layout = std::make_unique<QTextLayout>(textOf(block, start, piece.length), document()->defaultFont());
    QList<QTextLayout::FormatRange> formats;
    for (QTextLayout::FormatRange range : block.textFormats()) {
        const int from = std::max(range.start, start);
        const int to = std::min(range.start + range.length, start + piece.length);
        if (from < to) {
            range.start = from - start;
            range.length = to - from;
            formats.append(range);
        }
    }
    layout->setFormats(formats);
    qreal widest = 0;
    piece.height = std::int32_t(toUnits(placeLines(layout.get(), block, &piece.lines, &widest)));
    piece.width = widest;
    piece.measured = true;
    ++m_layoutsDone;
    if (keep) {
        piece.layout = std::move(layout);
        // Only the most recently used pieces keep their layouts.
        int kept = 0;
        for (const LongParagraph::Piece& other : paragraph->pieces)
            kept += other.layout ? 1 : 0;
        for (; kept > KeptPieces; --kept) {
            LongParagraph::Piece* oldest = nullptr;
            for (LongParagraph::Piece& other : paragraph->pieces) {
                if (other.layout && (!oldest || other.used < oldest->used))
                    oldest = &other;
            }
            oldest->layout.reset();
        }
    }
    storeLong(block, paragraph);
}

// Pieces follow one another down the paragraph when wrapping, along its
// single line when not.
QPointF LazyTextLayout::pieceOffset(const LongParagraph* paragraph, int index) const
{
    const bool wrapping = wraps();
    std::int64_t down = 0;
    qreal along = 0;
    for (int n = 0; n < index; ++n) {
        const LongParagraph::Piece& piece = paragraph->pieces[size_t(n)];
        down += wrapping ? piece.height : 0;
        along += wrapping ? 0 : piece.width;
    }
    return QPointF(along, toPixels(down));
}

int LazyTextLayout::pieceAtPoint(const LongParagraph* paragraph, QPointF inParagraph) const
{
    const bool wrapping = wraps();
    qreal edge = 0;
    const int last = int(paragraph->pieces.size()) - 1;
    for (int n = 0; n < last; ++n) {
        const LongParagraph::Piece& piece = paragraph->pieces[size_t(n)];
        edge += wrapping ? toPixels(piece.height) : piece.width;
        if ((wrapping ? inParagraph.y() : inParagraph.x()) < edge)
            return n;
    }
    return last;
}

// The paragraph's height, lines and width from its pieces; measured once
// every piece is.
void LazyTextLayout::storeLong(const QTextBlock& block, const LongParagraph* paragraph) const
{
    const bool wrapping = wraps();
    std::int64_t height = 0;
    std::int64_t lines = 0;
    qreal width = 0;
    bool measured = true;
    for (const LongParagraph::Piece& piece : paragraph->pieces) {
        height = wrapping ? height + piece.height : std::max<std::int64_t>(height, piece.height);
        lines = wrapping ? lines + piece.lines : 1;
        width = wrapping ? std::max(width, piece.width) : width + piece.width;
        measured = measured && piece.measured;
    }
    const int number = block.blockNumber();
    Entry entry = m_index.at(number);
    const Entry old = entry;
    entry.height = std::int32_t(std::min<std::int64_t>(height, INT_MAX));
    entry.lines = std::int32_t(std::min<std::int64_t>(lines, INT_MAX));
    entry.width = float(width);
    entry.length = block.length();
    entry.laidOutIn = m_entryGeneration;
    if (measured && entry.generation != m_entryGeneration) {
        entry.generation = m_entryGeneration;
        --m_estimated;
    }
    m_index.set(number, entry);
    if (entry.height != old.height) {
        m_moved = true;
        sizeMayHaveChanged();
    } else if (entry.width != old.width || entry.lines != old.lines) {
        sizeMayHaveChanged();
    }
}

void LazyTextLayout::drawPieces(QPainter* painter, const PaintContext& context, const QTextBlock& block) const
{
    LongParagraph* paragraph = longParagraph(block);
    const QRectF clip = context.clip;
    const QPointF origin = paragraphRect(block.blockNumber()).topLeft();
    const bool wrapping = wraps();
    QPointF at = origin;
    int start = block.position();
    const int count = int(paragraph->pieces.size());
    for (int n = 0; n < count; ++n) {
        LongParagraph::Piece& piece = paragraph->pieces[size_t(n)];
        const qreal extent = wrapping ? toPixels(piece.height) : piece.width;
        const qreal from = wrapping ? at.y() : at.x();
        const bool shown = !clip.isValid()
                           || (wrapping ? from <= clip.bottom() && from + extent >= clip.top()
                                        : from <= clip.right() && from + extent >= clip.left());
        if (shown) {
            layOutPiece(block, paragraph, n, true);
            piece.layout->setPosition(at);
            drawText(painter, context, piece.layout.get(), start, piece.length + (n == count - 1 ? 1 : 0));
        } else if (clip.isValid() && from > (wrapping ? clip.bottom() : clip.right())) {
            break;
        }
        at += wrapping ? QPointF(0, toPixels(piece.height)) : QPointF(piece.width, 0);
        start += piece.length;
    }
}

int LazyTextLayout::lineInBlock(const QTextBlock& block, int positionInBlock) const
{
    if (!isLong(block)) {
        blockBoundingRect(block);  // lays the paragraph out if it is not yet
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            return 0;
        const QTextLine line = layout->lineForTextPosition(positionInBlock);
        return line.isValid() ? line.lineNumber() : layout->lineCount() - 1;
    }
    if (!wraps())
        return 0;
    blockBoundingRect(block);
    LongParagraph* paragraph = longParagraph(block);
    const int piece = paragraph->pieceAt(positionInBlock);
    layOutPiece(block, paragraph, piece, true);
    int before = 0;
    for (int n = 0; n < piece; ++n)
        before += paragraph->pieces[size_t(n)].lines;
    const QTextLayout* layout = paragraph->pieces[size_t(piece)].layout.get();
    const QTextLine line = layout->lineForTextPosition(positionInBlock - paragraph->startOf(piece));
    return before + (line.isValid() ? line.lineNumber() : layout->lineCount() - 1);
}

int LazyTextLayout::lineStartInBlock(const QTextBlock& block, int line) const
{
    if (!isLong(block)) {
        blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() == 0)
            return 0;
        return layout->lineAt(std::clamp(line, 0, layout->lineCount() - 1)).textStart();
    }
    if (!wraps())
        return 0;
    blockBoundingRect(block);
    LongParagraph* paragraph = longParagraph(block);
    const int count = int(paragraph->pieces.size());
    int piece = 0;
    for (; piece < count - 1 && line >= paragraph->pieces[size_t(piece)].lines; ++piece)
        line -= paragraph->pieces[size_t(piece)].lines;
    layOutPiece(block, paragraph, piece, true);
    const QTextLayout* layout = paragraph->pieces[size_t(piece)].layout.get();
    return paragraph->startOf(piece) + layout->lineAt(std::clamp(line, 0, layout->lineCount() - 1)).textStart();
}

QRectF LazyTextLayout::caretRect(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return QRectF();
    const QRectF paragraph = blockBoundingRect(block);
    int offset = position - block.position();
    const QTextLayout* layout = block.layout();
    QPointF origin = paragraph.topLeft();
    if (isLong(block)) {
        LongParagraph* pieces = longParagraph(block);
        const int piece = pieces->pieceAt(offset);
        layOutPiece(block, pieces, piece, true);
        layout = pieces->pieces[size_t(piece)].layout.get();
        origin += pieceOffset(pieces, piece);
        offset -= pieces->startOf(piece);
    }
    QTextLine line = layout->lineForTextPosition(offset);
    if (!line.isValid() && layout->lineCount() > 0)
        line = layout->lineAt(layout->lineCount() - 1);
    if (!line.isValid())
        return QRectF(origin, QSizeF(1, m_lineHeight));
    return QRectF(origin + QPointF(line.cursorToX(offset), line.y()), QSizeF(1, line.height()));
}
