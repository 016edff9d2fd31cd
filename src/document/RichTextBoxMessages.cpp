// The window messages the program sends to the control, and the line,
// undo and redraw operations behind them.
#include "document/RichTextBox.h"
#include "document/LoadProgress.h"

#include "core/Units.h"
#include "document/LazyTextLayout.h"

#include <QTextBlock>
#include <algorithm>

// ---- lines -----------------------------------------------------------------

bool RichTextBox::wraps() const { return lineWrapMode() != QTextEdit::NoWrap; }

int RichTextBox::blockLineAt(const QTextBlock& block, int positionInBlock) const
{
    return m_layout->lineInBlock(block, positionInBlock);
}

// With wrapping, paragraphs never laid out count with estimated lines.
int RichTextBox::LineCount() const
{
    if (!wraps())
        return document()->blockCount();
    return m_layout->lineCount();
}

int RichTextBox::LineFromChar(int index) const
{
    const int position = index < 0 ? textCursor().selectionStart() : indexToPosition(index);
    const QTextBlock block = document()->findBlock(position);
    if (!wraps())
        return block.blockNumber();
    const int inBlock = blockLineAt(block, position - block.position());
    return m_layout->firstLineOf(block.blockNumber()) + inBlock;
}

int RichTextBox::LineIndex(int line) const
{
    if (line < 0) {
        const int caret = textCursor().position();
        const QTextBlock block = document()->findBlock(caret);
        if (!wraps())
            return positionToIndex(block.position());
        const int inBlock = blockLineAt(block, caret - block.position());
        return positionToIndex(block.position() + m_layout->lineStartInBlock(block, inBlock));
    }
    if (line >= LineCount())
        return -1;
    if (!wraps())
        return positionToIndex(document()->findBlockByNumber(line).position());
    // Laying paragraphs out may change their counts of lines, and so which
    // paragraph holds the line: asked again until the answer holds.
    int number = m_layout->blockAtLine(line);
    for (int round = 0; round < 8; ++round) {
        blockLineAt(document()->findBlockByNumber(number), 0);
        const int again = m_layout->blockAtLine(line);
        if (again == number)
            break;
        number = again;
    }
    const QTextBlock block = document()->findBlockByNumber(number);
    const int inBlock = std::max(0, line - m_layout->firstLineOf(number));
    return positionToIndex(block.position() + m_layout->lineStartInBlock(block, inBlock));
}

// ---- undo, redraw ----------------------------------------------------------

bool RichTextBox::CanUndo() const { return document()->isUndoAvailable(); }
void RichTextBox::Undo()
{
    // Groups above this point were undone, or went with the redo stack.
    const int now = document()->availableUndoSteps();
    while (!m_undoGroups.empty() && m_undoGroups.back().to > now)
        m_undoGroups.pop_back();
    step(true);
}

// Qt's own Redo key: a change undone whole comes back whole.
void RichTextBox::redoGrouped() { step(false); }

// One undo or redo step, or, at the edge of a group, the whole group,
// painting between its steps; the group then waits on the other side.
void RichTextBox::step(bool back)
{
    std::vector<UndoGroup>& groups = back ? m_undoGroups : m_redoGroups;
    const int now = document()->availableUndoSteps();
    if (groups.empty() || (back ? groups.back().to : groups.back().from) != now) {
        back ? undo() : redo();
        return;
    }
    const UndoGroup group = groups.back();
    groups.pop_back();
    const int target = back ? group.from : group.to;
    BusyPainting painting;
    while (document()->availableUndoSteps() != target
           && (back ? document()->isUndoAvailable() : document()->isRedoAvailable())) {
        back ? undo() : redo();
        painting();
    }
    (back ? m_redoGroups : m_undoGroups).push_back(group);
}

void RichTextBox::groupUndoSteps(int before)
{
    const int after = document()->availableUndoSteps();
    if (after > before + 1)
        m_undoGroups.push_back({before, after});
}

void RichTextBox::EmptyUndoBuffer()
{
    document()->clearUndoRedoStacks();
    m_undoGroups.clear();
    m_redoGroups.clear();
}

void RichTextBox::SetRedraw(bool on)
{
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void RichTextBox::Refresh() { viewport()->repaint(); }
void RichTextBox::SetFocus() { setFocus(Qt::OtherFocusReason); }

void RichTextBox::Move(double left, double top, double width, double height)
{
    setGeometry(units::twipsToPixelsX(left), units::twipsToPixelsY(top),
                units::twipsToPixelsX(width), units::twipsToPixelsY(height));
}

qint64 RichTextBox::SendMessage(int message, qint64 wParam, qint64 lParam)
{
    switch (message) {
    case WM_SETREDRAW: SetRedraw(wParam != 0); return 0;
    case WM_GETTEXTLENGTH: return TextLength();
    case EM_SETSEL: SetSel(int(wParam), int(lParam)); return 0;
    case EM_GETLINECOUNT: return LineCount();
    case EM_LINEINDEX: return LineIndex(int(wParam));
    case EM_CANUNDO: return CanUndo() ? 1 : 0;
    case EM_UNDO: Undo(); return 1;
    case EM_LINEFROMCHAR: return LineFromChar(int(wParam));
    case EM_EMPTYUNDOBUFFER: EmptyUndoBuffer(); return 0;
    default: return 0;
    }
}
