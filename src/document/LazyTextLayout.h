#pragma once
// A document layout for plain paragraphs that lays a paragraph out only when
// it is painted, hit or asked for its rectangle. Every other paragraph has an
// estimated height until then, kept in a ParagraphIndex, so an edit costs the
// edited paragraphs only, however long the document is.
#include "document/LongParagraph.h"
#include "document/ParagraphIndex.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextBlock>
#include <QTextOption>
#include <QTimer>

#include <vector>

class QTextEdit;

namespace lazylayout {
// The last pass number an index entry holds; tests lower it.
inline std::uint16_t LastEntryGeneration = 0xFFFF;
}  // namespace lazylayout

class LazyTextLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT

public:
    // A paragraph's height and line count until it is laid out.
    struct Estimator {
        qreal linesPerChar;  // 0: no wrapping
        std::int32_t lineHeight;
        // Line counts of the lengths below its size, worked out once for a
        // pass over millions of paragraphs (ceil per paragraph is its cost).
        std::vector<std::int32_t> lines;
        ParagraphIndex::Entry operator()(int length) const;
        Estimator tabulated() const;
    };

    explicit LazyTextLayout(QTextDocument* document);
    // Whether new estimates are still being worked out between events.
    bool estimating() const { return m_estimateFrom >= 0; }
    // Gives the edit's document this layout, with the edit's view kept in
    // place when paragraphs above it are measured.
    static LazyTextLayout* install(QTextEdit* edit);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // Display lines. A small document is laid out whole for an exact count;
    // in a big one paragraphs never laid out count with estimated lines, so
    // that nothing is measured that is not shown or asked for.
    int lineCount() const;
    static constexpr int ExactCountLimit = 4000;         // paragraphs
    static constexpr int ExactCountCharacters = 1 << 19;
    int firstLineOf(int blockNumber) const;
    int blockAtLine(int line) const;
    // A paragraph's display line at a position in it, and where a line of it
    // starts (very long paragraphs have no lines in their own QTextLayout).
    int lineInBlock(const QTextBlock& block, int positionInBlock) const;
    int lineStartInBlock(const QTextBlock& block, int line) const;
    // The caret's rectangle at a document position, in document pixels.
    QRectF caretRect(int position) const;
    static bool isLong(const QTextBlock& block) { return block.length() > LongParagraph::MinLength; }

    // How far above a paragraph that has never been laid out to lay out
    // before giving its rectangle, so that a jump lands where it is shown.
    void setViewportHeight(qreal pixels) { m_viewportHeight = pixels; }

    // Paragraphs (and pieces of long ones) laid out since the last reset of
    // the count (for tests).
    int layoutsDone() const { return m_layoutsDone; }
    void resetLayoutsDone() { m_layoutsDone = 0; }
    bool isLaidOut(int blockNumber) const;

    // The top of what is shown, in document pixels: measuring paragraphs
    // above it reports the shift with shiftedAbove().
    void setAnchorY(qreal y) { m_anchorY = y; }
    // After paragraphs come or go, the longest few are measured for the
    // width of a text that does not wrap.
    static constexpr int MeasureDelayMs = 300;
    static constexpr int WidestMeasured = 16;

signals:
    void shiftedAbove(qreal pixels);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    using Entry = ParagraphIndex::Entry;

    qreal wrapWidth() const;  // 0: no wrapping
    qreal margin() const;
    Estimator estimator() const;
    // What every paragraph's lines depend on: when none of it changed, a
    // call to lay everything out again is ignored.
    struct Inputs {
        qreal pageWidth = -2;
        QFont font;
        QTextOption::WrapMode wrapMode = QTextOption::NoWrap;
        qreal tabStop = 0;
        Qt::Alignment alignment;
        qreal margin = 0;
        qreal indentWidth = 0;
        bool operator==(const Inputs& other) const;
    };
    Inputs currentInputs() const;
    Inputs m_inputs;
    void rebuild();
    void reestimateAll();
    void nextGeneration();
    bool forgetLayoutAfter(int position);
    void updateMetrics();
    // Lays the paragraph out if it is not, and returns its height in 1/64 px.
    std::int32_t ensureLaidOut(const QTextBlock& block) const;
    qreal placeLines(QTextLayout* layout, const QTextBlock& block, int* lines, qreal* widest) const;
    struct Measure {
        qreal height = 0;
        int lines = 0;
        qreal widest = 0;
        int length = 1;
    };
    bool storeMeasure(int number, Entry entry, const Measure& measure) const;
    void measureLongest();
    void measureAll() const;
    void layOutAbove(int blockNumber) const;
    void drawBlock(QPainter* painter, const PaintContext& context, const QTextBlock& block) const;
    void drawText(QPainter* painter, const PaintContext& context, QTextLayout* layout, int start, int length) const;
    static int offsetAt(const QTextLayout* layout, QPointF at, Qt::HitTestAccuracy accuracy, bool* exact);
    QRectF paragraphRect(int number) const;

    // Very long paragraphs, laid out piece by piece.
    bool wraps() const { return wrapWidth() > 0; }
    LongParagraph* longParagraph(const QTextBlock& block) const;
    QString textOf(const QTextBlock& block, int start, int length) const;
    void layOutPiece(const QTextBlock& block, LongParagraph* paragraph, int index, bool keep) const;
    QPointF pieceOffset(const LongParagraph* paragraph, int index) const;
    int pieceAtPoint(const LongParagraph* paragraph, QPointF inParagraph) const;
    void storeLong(const QTextBlock& block, const LongParagraph* paragraph) const;
    void drawPieces(QPainter* painter, const PaintContext& context, const QTextBlock& block) const;
    static constexpr int KeptPieces = 64;  // laid-out pieces kept per paragraph
    void sizeMayHaveChanged() const;
    void refineEstimates();
    void startEstimates(bool keepView);
    void estimateSlice();
    void notifySize();

    mutable ParagraphIndex m_index;
    mutable int m_estimated = 0;  // entries not yet laid out in this generation
    // The layout pass, for long paragraphs' pieces, and as the index's
    // entries record it.
    std::uint32_t m_generation = 1;
    std::uint16_t m_entryGeneration = 1;
    qreal m_lineHeight = 16;     // an unformatted line's height
    qreal m_charWidth = 7;       // average, for estimates of wrapped lines
    // Characters and width of the lines laid out, to learn the text's own
    // average character width; refined again each time the sample doubles.
    mutable qreal m_sampleChars = 0;
    mutable qreal m_sampleWidth = 0;
    qreal m_refinedAt = 0;
    qreal m_viewportHeight = 600;
    mutable int m_layoutsDone = 0;
    mutable std::uint64_t m_pieceClock = 0;
    mutable QSizeF m_reportedSize;
    mutable bool m_notifyPending = false;
    mutable bool m_moved = false;  // heights changed since the last full repaint
    QFont m_metricsFont;
    bool m_hasMetrics = false;
    QTimer m_measureTimer;
    // A pass of new estimates over more paragraphs than WholeEstimateLimit
    // goes on from chunk m_estimateFrom between events (-1: none pending).
    static constexpr int WholeEstimateLimit = 1 << 20;
    static constexpr int EstimateSliceMs = 8;
    QTimer m_estimateTimer;
    int m_estimateFrom = -1;
    bool m_estimateKeepsView = false;
    qreal m_anchorY = 0;
    std::int64_t m_shiftAbove = 0;
};
