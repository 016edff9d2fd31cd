// LazyTextLayout's painting: only the paragraphs in the clip are laid out
// and drawn.
#include "document/LazyTextLayout.h"

#include "document/LazyTextLayoutUnits.h"

#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

using namespace lazylayout;

void LazyTextLayout::draw(QPainter* painter, const PaintContext& context)
{
    if (m_index.count() == 0)
        return;
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, Far, Far);
    const int first = m_index.indexAtY(toUnits(clip.top() - margin()));
    for (QTextBlock block = document()->findBlockByNumber(first); block.isValid(); block = block.next()) {
        ensureLaidOut(block);
        if (margin() + toPixels(m_index.top(block.blockNumber())) > clip.bottom())
            break;
        drawBlock(painter, context, block);
    }
    if (m_sampleChars >= 2 * std::max<qreal>(m_refinedAt, 250))
        QTimer::singleShot(0, this, &LazyTextLayout::refineEstimates);
}

void LazyTextLayout::drawBlock(QPainter* painter, const PaintContext& context,
                               const QTextBlock& block) const
{
    QTextLayout* layout = block.layout();
    const bool pieces = isLong(block);
    const QRectF bounds = pieces ? paragraphRect(block.blockNumber())
                                 : layout->boundingRect().translated(layout->position());
    if (context.clip.isValid() && (bounds.bottom() < context.clip.y() || bounds.top() > context.clip.bottom()))
        return;
    const bool wrapping = document()->pageSize().width() > 0;
    const QBrush background = block.blockFormat().background();
    if (background.style() != Qt::NoBrush) {
        QRectF rect = bounds;
        if (!wrapping)
            rect.setRight(documentSize().width() - margin());
        painter->save();
        painter->setBrushOrigin(bounds.topLeft());
        painter->fillRect(rect, background);
        painter->restore();
    }
    if (pieces)
        drawPieces(painter, context, block);
    else
        drawText(painter, context, layout, block.position(), block.length());
}

// Draws a layout of the text from document position start on, length
// characters long (a paragraph's break included at its end).
void LazyTextLayout::drawText(QPainter* painter, const PaintContext& context, QTextLayout* layout, int start,
                              int length) const
{
    QList<QTextLayout::FormatRange> selections;
    for (const Selection& selection : context.selections) {
        const int from = selection.cursor.selectionStart() - start;
        const int to = selection.cursor.selectionEnd() - start;
        const int caret = selection.cursor.position() - start;
        QTextLayout::FormatRange range;
        range.format = selection.format;
        if (from < length && to > 0 && to > from) {
            range.start = from;  // may be negative: the layout clips it
            range.length = to - from;
        } else if (!selection.cursor.hasSelection()
                   && selection.format.hasProperty(QTextFormat::FullWidthSelection) && caret >= 0
                   && caret < length) {
            const QTextLine line = layout->lineForTextPosition(caret);
            range.start = line.textStart();
            range.length = line.textLength();
            if (range.start + range.length == length - 1)
                ++range.length;  // the paragraph's end too
        } else {
            continue;
        }
        selections.append(range);
    }
    // Text stays between the margins when wrapping, as with Qt's layout.
    const bool wrapping = document()->pageSize().width() > 0;
    QRectF clip(margin(), 0, wrapping ? documentSize().width() - 2 * margin() : Far, Far);
    if (context.clip.isValid())
        clip &= context.clip;
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, QPointF(0, 0), selections, clip);

    const int cursor = context.cursorPosition;
    if (cursor >= start && cursor < start + length) {
        bool ok = false;
        const int width = property("cursorWidth").toInt(&ok);
        layout->drawCursor(painter, QPointF(0, 0), cursor - start, ok ? width : 1);
    }
}
