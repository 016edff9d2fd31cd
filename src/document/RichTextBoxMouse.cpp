// The mouse selects here, so that no press or hover walks the whole
// document as Qt's own handling does. Dragged text is left to Qt; dropped
// files go to the window to open.
#include "document/RichTextBox.h"

#include "core/Units.h"
#include "document/DroppedFiles.h"
#include "document/KeyCodes.h"
#include "document/LazyTextLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const QPoint at = viewport()->mapTo(this, event->position().toPoint());
    emit MouseDown(button, keys::shiftFromQt(event->modifiers()), units::pixelsToTwipsX(at.x()),
                   units::pixelsToTwipsY(at.y()));
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    QTextCursor cursor = textCursor();
    if (pressStartsTextDrag(point, event->modifiers())) {
        // Dragging the selected text away is Qt's own business.
        m_qtDrag = true;
        QTextEdit::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    if (m_tripleClick.isActive()
        && (point - m_tripleClickPoint).manhattanLength() < QApplication::startDragDistance()) {
        // The third click selects the paragraph with its break.
        m_tripleClick.stop();
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        m_selectedParagraph = cursor;
        m_selectedWord = QTextCursor();
        setTextCursor(cursor);
    } else if (event->modifiers() == Qt::ShiftModifier) {
        extendSelectionTo(point);
    } else {
        m_selectedWord = m_selectedParagraph = QTextCursor();
        cursor.setPosition(positionAt(point));
        setTextCursor(cursor);
    }
}

// ---- mouse selection -------------------------------------------------------

int RichTextBox::positionAt(const QPoint& viewportPoint) const
{
    const QPointF inDocument(viewportPoint.x() + horizontalScrollBar()->value(),
                             viewportPoint.y() + verticalScrollBar()->value());
    return m_layout->hitTest(inDocument, Qt::FuzzyHit);
}

// Extends the selection to the mouse as a drag or a shift-click does: by
// paragraphs after a triple-click, by words after a double-click.
void RichTextBox::extendSelectionTo(const QPoint& viewportPoint)
{
    const int position = positionAt(viewportPoint);
    QTextCursor cursor = textCursor();
    if (m_selectedParagraph.hasSelection()) {
        cursor = m_selectedParagraph;
        if (position < m_selectedParagraph.selectionStart()) {
            cursor.setPosition(m_selectedParagraph.selectionEnd());
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        } else if (position > m_selectedParagraph.selectionEnd()) {
            cursor.setPosition(m_selectedParagraph.selectionStart());
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        }
    } else if (m_selectedWord.hasSelection()) {
        if (!extendByWords(&cursor, position, viewportPoint.x() + horizontalScrollBar()->value()))
            return;
    } else {
        cursor.setPosition(position, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

// From the double-clicked word to the nearer end of the word under the mouse,
// on the mouse's own line; between words the selection stays as it is.
bool RichTextBox::extendByWords(QTextCursor* cursor, int position, qreal mouseX) const
{
    if (position >= m_selectedWord.selectionStart() && position <= m_selectedWord.selectionEnd()) {
        *cursor = m_selectedWord;
        return true;
    }
    QTextCursor word = m_selectedWord;
    word.setPosition(position, QTextCursor::KeepAnchor);
    if (!word.movePosition(QTextCursor::StartOfWord))
        return false;
    const int wordStart = word.position();
    const QTextBlock block = word.block();
    const qreal blockX = m_layout->blockBoundingRect(block).left();
    const QTextLine line = block.layout()->lineForTextPosition(wordStart - block.position());
    if (!line.isValid())
        return false;
    const qreal startX = line.cursorToX(wordStart - block.position()) + blockX;
    if (!word.movePosition(QTextCursor::EndOfWord))
        return false;
    const int wordEnd = word.position();
    const QTextLine endLine = block.layout()->lineForTextPosition(wordEnd - block.position());
    if (endLine.textStart() != line.textStart() || wordEnd == wordStart)
        return false;
    const qreal endX = line.cursorToX(wordEnd - block.position()) + blockX;
    if (mouseX < startX || mouseX > endX)
        return false;
    // The double-clicked word stays selected whichever way the mouse goes.
    cursor->setPosition(position < m_selectedWord.position() ? m_selectedWord.selectionEnd()
                                                             : m_selectedWord.selectionStart());
    cursor->setPosition(mouseX - startX < endX - mouseX ? wordStart : wordEnd, QTextCursor::KeepAnchor);
    return true;
}

// A press on selected text (not between it and the margin) may start a drag.
bool RichTextBox::pressStartsTextDrag(const QPoint& viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || (modifiers & Qt::ShiftModifier) || m_tripleClick.isActive())
        return false;
    const int position = positionAt(viewportPoint);
    if (position < cursor.selectionStart() || position > cursor.selectionEnd())
        return false;
    const QPointF inDocument(viewportPoint.x() + horizontalScrollBar()->value(),
                             viewportPoint.y() + verticalScrollBar()->value());
    return m_layout->hitTest(inDocument, Qt::ExactHit) != -1;
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_qtDrag) {
        QTextEdit::mouseMoveEvent(event);
        return;
    }
    // Hovering needs nothing: no links or list markers can be under the mouse.
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    extendSelectionTo(at);
    if (viewport()->rect().contains(at))
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start(100, this);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_qtDrag && event->button() == Qt::LeftButton) {
        m_qtDrag = false;
        QTextEdit::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QTextEdit::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    m_autoScroll.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (textCursor().hasSelection() && clipboard->supportsSelection())
        clipboard->setText(textCursor().selectedText().replace(QChar(0x2029), u'\n'),
                           QClipboard::Selection);
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionAt(event->position().toPoint()));
    m_layout->blockBoundingRect(cursor.block());  // laid out, for its lines
    const QTextLine line = cursor.block().layout()->lineForTextPosition(cursor.positionInBlock());
    if (line.isValid() && line.textLength() > 0)
        cursor.select(QTextCursor::WordUnderCursor);
    setTextCursor(cursor);
    m_selectedWord = cursor;
    m_selectedParagraph = QTextCursor();
    m_dragging = true;
    m_tripleClickPoint = event->position().toPoint();
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
}

void RichTextBox::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_autoScroll.timerId()) {
        extendSelectionTo(viewport()->mapFromGlobal(QCursor::pos()));
    } else if (event->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    } else {
        QTextEdit::timerEvent(event);
    }
}

void RichTextBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (acceptDroppedFiles(event).isEmpty())
        QTextEdit::dragEnterEvent(event);
}

void RichTextBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptDroppedFiles(event).isEmpty())
        QTextEdit::dragMoveEvent(event);
}

void RichTextBox::dropEvent(QDropEvent* event)
{
    const QStringList paths = acceptDroppedFiles(event);
    if (paths.isEmpty())
        QTextEdit::dropEvent(event);
    else
        emit filesDropped(paths);
}
