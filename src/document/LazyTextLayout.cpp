#include "document/LazyTextLayout.h"

#include "document/LazyTextLayoutUnits.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <climits>
#include <cmath>

using namespace lazylayout;

LazyTextLayout::LazyTextLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document)
{
    m_measureTimer.setSingleShot(true);
    connect(&m_measureTimer, &QTimer::timeout, this, &LazyTextLayout::measureLongest);
    m_estimateTimer.setSingleShot(true);
    connect(&m_estimateTimer, &QTimer::timeout, this, [this] {
        estimateSlice();
        notifySize();
    });
    // Without this QTextEdit gives a no-wrap document the viewport's width
    // instead of none.
    setProperty("contentHasAlignment", false);
    updateMetrics();
    rebuild();
}

LazyTextLayout* LazyTextLayout::install(QTextEdit* edit)
{
    auto* layout = new LazyTextLayout(edit->document());
    edit->document()->setDocumentLayout(layout);
    QScrollBar* bar = edit->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, layout, &LazyTextLayout::setAnchorY);
    connect(layout, &LazyTextLayout::shiftedAbove, bar,
            [bar](qreal pixels) { bar->setValue(bar->value() + qRound(pixels)); });
    layout->setAnchorY(bar->value());
    return layout;
}

qreal LazyTextLayout::margin() const { return document()->documentMargin(); }

qreal LazyTextLayout::wrapWidth() const
{
    const qreal page = document()->pageSize().width();
    if (page <= 0 || document()->defaultTextOption().wrapMode() == QTextOption::NoWrap)
        return 0;
    return std::max<qreal>(1, page - 2 * margin());
}

void LazyTextLayout::updateMetrics()
{
    if (m_hasMetrics && document()->defaultFont() == m_metricsFont)
        return;
    m_hasMetrics = true;
    m_metricsFont = document()->defaultFont();
    m_sampleChars = m_sampleWidth = m_refinedAt = 0;
    QTextLayout sample(QStringLiteral("x"), document()->defaultFont());
    sample.beginLayout();
    QTextLine line = sample.createLine();
    line.setLeadingIncluded(true);
    sample.endLayout();
    m_lineHeight = line.height();
    m_charWidth = std::max<qreal>(1, QFontMetricsF(document()->defaultFont()).averageCharWidth());
}

LazyTextLayout::Inputs LazyTextLayout::currentInputs() const
{
    const QTextDocument* doc = document();
    const QTextOption option = doc->defaultTextOption();
    return {doc->pageSize().width(), doc->defaultFont(), option.wrapMode(), option.tabStopDistance(),
            option.alignment(), doc->documentMargin(), doc->indentWidth()};
}

bool LazyTextLayout::Inputs::operator==(const Inputs& other) const
{
    return pageWidth == other.pageWidth && font == other.font && wrapMode == other.wrapMode
           && tabStop == other.tabStop && alignment == other.alignment && margin == other.margin
           && indentWidth == other.indentWidth;
}

LazyTextLayout::Estimator LazyTextLayout::estimator() const
{
    const qreal width = wrapWidth();
    return {width > 0 ? m_charWidth / width : 0, std::int32_t(toUnits(m_lineHeight)), {}};
}

LazyTextLayout::Entry LazyTextLayout::Estimator::operator()(int length) const
{
    Entry entry;
    entry.length = length;
    if (length >= 0 && length < int(lines.size()))
        entry.lines = lines[size_t(length)];
    else if (linesPerChar > 0 && length > 1)
        entry.lines = std::max(1, int(std::ceil((length - 1) * linesPerChar)));
    entry.height = entry.lines * lineHeight;
    return entry;
}

LazyTextLayout::Estimator LazyTextLayout::Estimator::tabulated() const
{
    constexpr int Common = 4096;
    Estimator table{linesPerChar, lineHeight, {}};
    table.lines.reserve(Common);
    for (int length = 0; length < Common; ++length)
        table.lines.push_back((*this)(length).lines);
    return table;
}

void LazyTextLayout::rebuild()
{
    nextGeneration();
    m_inputs = currentInputs();
    std::vector<Entry> entries;
    entries.reserve(size_t(document()->blockCount()));
    const Estimator estimate = estimator().tabulated();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        entries.push_back(estimate(block.length()));
    m_index.clear();
    m_index.insert(0, entries);
    m_estimateFrom = -1;
    m_estimateTimer.stop();
    m_estimated = m_index.count();
    m_measureTimer.start(MeasureDelayMs);
}

// Once the entries' pass numbers run out, every entry is marked as from no
// pass, which is what a new pass makes of it anyway.
void LazyTextLayout::nextGeneration()
{
    ++m_generation;
    if (m_entryGeneration < lazylayout::LastEntryGeneration) {
        ++m_entryGeneration;
        return;
    }
    m_index.forEach([](Entry& entry) { entry.generation = entry.laidOutIn = 0; });
    m_entryGeneration = 1;
}

// A width, font or option change: every paragraph goes back to an estimate,
// without visiting the document, so that resizing a window stays cheap.
void LazyTextLayout::reestimateAll()
{
    nextGeneration();
    m_inputs = currentInputs();
    updateMetrics();
    startEstimates(false);
    m_estimated = m_index.count();
    m_measureTimer.start(MeasureDelayMs);
}

void LazyTextLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument* doc = document();
    qreal repaint = INT_MAX;  // height to repaint from the change down
    const int newCount = doc->blockCount();
    const int oldCount = m_index.count();
    if (from == 0 && charsRemoved == 0 && charsAdded >= doc->characterCount() && oldCount == newCount
        && newCount > 1) {
        // QTextEdit sets the same page size again whenever its scroll bars
        // are adjusted: only a real change of what lines depend on counts.
        if (!(currentInputs() == m_inputs))
            reestimateAll();
    } else {
        const QTextBlock first = doc->findBlock(from);
        QTextBlock last = doc->findBlock(from + std::max(0, charsAdded - 1));
        if (!last.isValid())
            last = doc->lastBlock();
        const int firstNo = first.isValid() ? first.blockNumber() : 0;
        const int lastNo = std::max(firstNo, last.blockNumber());
        const int oldLast = lastNo - (newCount - oldCount);
        if (!first.isValid() || oldLast < firstNo - 1 || oldLast >= oldCount) {
            updateMetrics();
            rebuild();
        } else {
            std::vector<Entry> entries;
            entries.reserve(size_t(lastNo - firstNo + 1));
            const Estimator estimate = estimator();
            QTextBlock block = first;
            for (int n = firstNo; n <= lastNo && block.isValid(); ++n, block = block.next())
                entries.push_back(estimate(block.length()));
            if (firstNo == lastNo && oldLast == firstNo && entries.size() == 1) {
                // An edit inside one paragraph: until it is laid out again it
                // keeps its height, so nothing below moves and only it is
                // repainted (a new height repaints the rest once known).
                const Entry old = m_index.at(firstNo);
                entries[0].height = old.height;
                entries[0].lines = old.lines;
                entries[0].width = old.width;
                repaint = toPixels(old.height);
                if (auto* paragraph = dynamic_cast<LongParagraph*>(first.userData()))
                    paragraph->edit(from - first.position(), charsRemoved, charsAdded);
            }
            for (int n = firstNo; n <= oldLast; ++n)
                m_estimated -= m_index.at(n).generation == m_entryGeneration ? 0 : 1;
            m_index.remove(firstNo, oldLast - firstNo + 1);
            m_index.insert(firstNo, entries);
            m_estimated += int(entries.size());
            if (m_index.count() != newCount)
                rebuild();
            else if (isLong(first))
                storeLong(first, longParagraph(first));
            if (forgetLayoutAfter(from + charsAdded))
                repaint = INT_MAX;
        }
    }
    const QTextBlock changed = doc->findBlock(from);
    const qreal top = changed.isValid() ? margin() + toPixels(m_index.top(changed.blockNumber())) : 0;
    if (newCount != oldCount)
        m_measureTimer.start(MeasureDelayMs);
    notifySize();
    emit update(QRectF(0, top, INT_MAX, repaint));
}


// A paragraph break's format is the character format of the paragraph after
// it (what an empty one is measured in), so a change that ends with a break
// has that paragraph laid out again. True when there is one.
bool LazyTextLayout::forgetLayoutAfter(int position)
{
    const QTextBlock after = document()->findBlock(position);
    if (position <= 0 || !after.isValid() || after.position() != position || after.blockNumber() >= m_index.count())
        return false;
    Entry entry = m_index.at(after.blockNumber());
    entry.laidOutIn = 0;
    m_index.set(after.blockNumber(), entry);
    return true;
}

bool LazyTextLayout::isLaidOut(int blockNumber) const
{
    return blockNumber >= 0 && blockNumber < m_index.count()
           && m_index.at(blockNumber).laidOutIn == m_entryGeneration;
}

// Paragraphs are placed as Qt's own document layout places them (so both
// look the same), without its paragraph margins, which plain text never has.
// Returns the height; lines gets the number of lines.
qreal LazyTextLayout::placeLines(QTextLayout* layout, const QTextBlock& block, int* lines, qreal* widest) const
{
    const QTextBlockFormat format = block.blockFormat();
    QTextOption option = document()->defaultTextOption();
    const Qt::LayoutDirection direction = block.textDirection();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    Qt::Alignment alignment = option.alignment();
    if (format.hasProperty(QTextFormat::BlockAlignment))
        alignment = format.alignment();
    option.setAlignment(QStyle::visualAlignment(direction, alignment));
    if (format.nonBreakableLines() || document()->pageSize().width() < 0)
        option.setWrapMode(QTextOption::ManualWrap);
    layout->setTextOption(option);
    const bool wordOrAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;

    const qreal indent = format.indent() * document()->indentWidth();
    const qreal left = format.leftMargin() + indent;
    const qreal right = document()->pageSize().width() - 2 * margin() - format.rightMargin();
    qreal y = 0;
    *lines = 0;
    *widest = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        const qreal lineLeft = left + (*lines == 0 ? format.textIndent() : 0);
        const qreal width = right - lineLeft;
        line.setLineWidth(width);
        if (line.naturalTextWidth() > width) {
            // A word longer than the line: broken anywhere, or the line grows.
            line.setLineWidth(width);
            if (line.naturalTextWidth() > width) {
                if (wordOrAnywhere) {
                    option.setWrapMode(QTextOption::WrapAnywhere);
                    layout->setTextOption(option);
                }
                line.setLineWidth(std::max(line.naturalTextWidth(), width));
                if (wordOrAnywhere) {
                    // Qt's own layout goes on wrapping at words only, so a
                    // long word further on overflows instead of breaking.
                    option.setWrapMode(QTextOption::WordWrap);
                    layout->setTextOption(option);
                }
            }
        }
        line.setPosition(QPointF(lineLeft, y));
        y += std::ceil(line.ascent() + line.descent() + line.leading());
        *widest = std::max(*widest, line.x() + line.naturalTextWidth() + format.rightMargin());
        if (line.textLength() > 1) {
            m_sampleChars += line.textLength();
            m_sampleWidth += line.naturalTextWidth();
        }
        ++*lines;
    }
    layout->endLayout();
    return y;
}

// Records a paragraph's measured height and lines; true when its height changed.
bool LazyTextLayout::storeMeasure(int number, Entry entry, const Measure& measure) const
{
    if (entry.generation != m_entryGeneration)
        --m_estimated;
    const Entry old = entry;
    entry.height = std::int32_t(toUnits(measure.height));
    entry.lines = std::max(1, measure.lines);
    entry.length = measure.length;
    entry.width = float(measure.widest);
    entry.generation = m_entryGeneration;
    m_index.set(number, entry);
    if (entry.height != old.height) {
        m_moved = true;  // whatever is below shows elsewhere now
        sizeMayHaveChanged();
    } else if (entry.width != old.width) {
        sizeMayHaveChanged();
    }
    return entry.height != old.height;
}

std::int32_t LazyTextLayout::ensureLaidOut(const QTextBlock& block) const
{
    const int number = block.blockNumber();
    if (isLong(block)) {
        if (m_index.count() != document()->blockCount())
            return estimator()(block.length()).height;
        storeLong(block, longParagraph(block));
        return m_index.at(number).height;
    }
    if (m_index.count() != document()->blockCount()) {
        // Asked in the middle of an edit, before the document reports it:
        // the paragraph is laid out, the index waits for the report.
        QTextLayout* layout = block.layout();
        int lines = 0;
        qreal widest = 0;
        const qreal height = placeLines(layout, block, &lines, &widest);
        const int known = std::min(number, m_index.count());
        layout->setPosition(QPointF(margin(), margin() + toPixels(m_index.top(known))));
        return std::int32_t(toUnits(height));
    }
    const Entry entry = m_index.at(number);
    QTextLayout* layout = block.layout();
    layout->setPosition(QPointF(margin(), margin() + toPixels(m_index.top(number))));
    if (entry.laidOutIn == m_entryGeneration && layout->lineCount() > 0)
        return entry.height;
    Measure measure;
    measure.height = placeLines(layout, block, &measure.lines, &measure.widest);
    measure.length = block.length();
    ++m_layoutsDone;
    Entry laidOut = entry;
    laidOut.laidOutIn = m_entryGeneration;
    storeMeasure(number, laidOut, measure);
    return m_index.at(number).height;
}

// Without wrapping, the scroll range across is the widest line: the longest
// paragraphs are measured, in a layout of their own that is thrown away,
// and the others count once shown. Nothing else is measured in advance, so
// the program is idle soon after a file has loaded; a shift above the shown
// part is reported so that the view can stay where it is.
void LazyTextLayout::measureLongest()
{
    if (wraps() || m_index.count() != document()->blockCount())
        return;
    const std::int64_t anchor = toUnits(m_anchorY - margin());
    for (const int number : m_index.longest(WidestMeasured)) {
        const Entry entry = m_index.at(number);
        const QTextBlock block = document()->findBlockByNumber(number);
        if (entry.generation == m_entryGeneration || !block.isValid())
            continue;
        if (isLong(block)) {
            storeLong(block, longParagraph(block));  // its pieces' estimates
            continue;
        }
        QTextLayout scratch(block.text(), document()->defaultFont());
        scratch.setFormats(block.textFormats());
        Measure measure;
        measure.height = placeLines(&scratch, block, &measure.lines, &measure.widest);
        measure.length = block.length();
        if (storeMeasure(number, entry, measure) && m_index.top(number) < anchor)
            m_shiftAbove += m_index.at(number).height - entry.height;
    }
}

// A small document's exact line count: every paragraph and every piece of
// a long one is laid out.
void LazyTextLayout::measureAll() const
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        ensureLaidOut(block);
        if (!isLong(block) || m_index.at(block.blockNumber()).generation == m_entryGeneration)
            continue;
        LongParagraph* paragraph = longParagraph(block);
        for (int n = 0; n < int(paragraph->pieces.size()); ++n)
            layOutPiece(block, paragraph, n, false);
    }
}

void LazyTextLayout::layOutAbove(int blockNumber) const
{
    QTextBlock block = document()->findBlockByNumber(blockNumber).previous();
    qreal covered = 0;
    while (block.isValid() && covered < m_viewportHeight) {
        covered += toPixels(ensureLaidOut(block));
        block = block.previous();
    }
}

QRectF LazyTextLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (!block.isValid())
        return QRectF();
    if (!isLaidOut(block.blockNumber()) && m_index.count() == document()->blockCount())
        layOutAbove(block.blockNumber());
    ensureLaidOut(block);
    if (isLong(block))
        return paragraphRect(block.blockNumber());
    const QTextLayout* layout = block.layout();
    return QRectF(layout->position(), layout->boundingRect().size());
}

QRectF LazyTextLayout::frameBoundingRect(QTextFrame* frame) const
{
    if (frame != document()->rootFrame())
        return QRectF();
    return QRectF(QPointF(0, 0), documentSize());
}

QSizeF LazyTextLayout::documentSize() const
{
    const qreal page = document()->pageSize().width();
    const qreal width = std::max(page, qreal(m_index.widest()) + 2 * margin());
    return QSizeF(width, toPixels(m_index.totalHeight()) + 2 * margin());
}

void LazyTextLayout::sizeMayHaveChanged() const
{
    if (m_notifyPending)
        return;
    m_notifyPending = true;
    // Never from inside a paint or a caller's layout query: the scroll bars
    // follow once control returns to the event loop.
    QTimer::singleShot(0, const_cast<LazyTextLayout*>(this), &LazyTextLayout::notifySize);
}

void LazyTextLayout::notifySize()
{
    m_notifyPending = false;
    if (m_moved) {
        m_moved = false;
        emit update(QRectF(0, 0, INT_MAX, INT_MAX));
    }
    // The view follows a shift above it before the scroll range is clamped
    // to the new size.
    if (m_shiftAbove != 0) {
        const qreal shift = toPixels(m_shiftAbove);
        m_shiftAbove = 0;
        emit shiftedAbove(shift);
    }
    const QSizeF size = documentSize();
    if (size != m_reportedSize) {
        m_reportedSize = size;
        emit documentSizeChanged(size);
    }
}

// Paragraphs not laid out yet are estimated again with the average character
// width of the text seen so far, so that line counts and the scroll bar are
// close from the first screen on.
void LazyTextLayout::refineEstimates()
{
    if (m_sampleChars < 2 * std::max<qreal>(m_refinedAt, 250))
        return;
    m_refinedAt = m_sampleChars;
    const qreal average = m_sampleWidth / m_sampleChars;
    if (std::abs(average - m_charWidth) < 0.02 * m_charWidth)
        return;
    m_charWidth = average;
    if (wrapWidth() <= 0)
        return;  // without wrapping the estimate does not use it
    startEstimates(true);
    notifySize();
}

// Every paragraph not laid out in this generation gets a new estimate. In a
// document of millions of paragraphs that takes a while, so it is done a
// slice at a time between events, and the view then stays on the text it
// shows while the heights above it change.
void LazyTextLayout::startEstimates(bool keepView)
{
    m_estimateFrom = 0;
    m_estimateKeepsView = keepView || m_index.count() > WholeEstimateLimit;
    estimateSlice();
}

void LazyTextLayout::estimateSlice()
{
    if (m_estimateFrom < 0)
        return;
    QElapsedTimer clock;
    clock.start();
    const bool whole = m_index.count() <= WholeEstimateLimit;
    const Estimator estimate = estimator().tabulated();
    const std::uint16_t current = m_entryGeneration;
    const std::int64_t anchor = toUnits(m_anchorY - margin());
    std::int64_t top = m_estimateFrom < m_index.chunkCount() ? m_index.top(m_index.chunkStart(m_estimateFrom)) : 0;
    std::int64_t shift = 0;
    while (m_estimateFrom < m_index.chunkCount()) {
        const int from = m_estimateFrom;
        m_estimateFrom = whole ? m_index.chunkCount() : from + 64;
        m_index.forEachInChunks(from, m_estimateFrom, [&](Entry& entry) {
            const std::int32_t old = entry.height;
            const bool above = top < anchor;
            top += old;
            if (entry.generation != current)
                entry = estimate(entry.length);
            if (above)
                shift += entry.height - old;
        });
        if (clock.elapsed() >= EstimateSliceMs)
            break;
    }
    if (m_estimateKeepsView)
        m_shiftAbove += shift;
    m_moved = true;
    if (m_estimateFrom < m_index.chunkCount()) {
        m_estimateTimer.start(0);
    } else {
        m_estimateFrom = -1;
    }
}

// The offset in the layout nearest to a point given relative to it.
int LazyTextLayout::offsetAt(const QTextLayout* layout, QPointF at, Qt::HitTestAccuracy accuracy, bool* exact)
{
    int offset = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const QRectF rect = line.naturalTextRect();
        if (rect.top() > at.y()) {
            offset = std::min(offset, line.textStart());
        } else if (rect.bottom() <= at.y()) {
            offset = std::max(offset, line.textStart() + line.textLength());
        } else {
            *exact = rect.left() <= at.x() && rect.right() >= at.x();
            return line.xToCursor(at.x(), accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                  : QTextLine::CursorBetweenCharacters);
        }
    }
    return offset;
}

int LazyTextLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    if (m_index.count() == 0)
        return 0;
    const std::int64_t y = toUnits(point.y() - margin());
    int number = m_index.indexAtY(y);
    // A paragraph's bottom edge still belongs to it, as in Qt's layout.
    if (number > 0 && m_index.top(number) == y)
        --number;
    const QTextBlock block = document()->findBlockByNumber(number);
    ensureLaidOut(block);
    const QTextLayout* layout = block.layout();
    const bool pieces = isLong(block);
    const QRectF text = pieces ? paragraphRect(number) : layout->boundingRect().translated(layout->position());
    const int lastPosition = document()->characterCount() - 1;
    int position = block.position();
    bool exact = false;
    if (point.y() < text.top()) {
        // above the paragraph: its start
    } else if (point.y() > text.bottom()) {
        position += block.length();
    } else if (pieces) {
        LongParagraph* paragraph = longParagraph(block);
        const int piece = pieceAtPoint(paragraph, point - text.topLeft());
        layOutPiece(block, paragraph, piece, true);
        // From where the piece lies, not from where it was last drawn: a
        // page move hits pieces below the window before they are painted.
        const QPointF origin = text.topLeft() + pieceOffset(paragraph, piece);
        const QTextLayout* part = paragraph->pieces[size_t(piece)].layout.get();
        position += paragraph->startOf(piece) + offsetAt(part, point - origin, accuracy, &exact);
    } else {
        position += offsetAt(layout, point - layout->position(), accuracy, &exact);
    }
    if (accuracy == Qt::ExactHit && !exact)
        return -1;
    return std::clamp(position, 0, lastPosition);
}

int LazyTextLayout::lineCount() const
{
    if (m_estimated > 0 && m_index.count() <= ExactCountLimit
        && document()->characterCount() <= ExactCountCharacters)
        measureAll();
    return int(m_index.totalLines());
}

int LazyTextLayout::firstLineOf(int blockNumber) const { return int(m_index.linesBefore(blockNumber)); }

int LazyTextLayout::blockAtLine(int line) const { return m_index.indexAtLine(line); }
