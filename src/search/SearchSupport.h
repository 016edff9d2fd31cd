#pragma once
// What the search commands share: the hourglass, the not-found message and
// the caret's move to a far position.
#include <QString>

class frmDocument;
class Workspace;

namespace search {

// The hourglass while a command works. A message box ends it first, so that
// the box itself shows the ordinary pointer.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor() { release(); }
    void release();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_on = true;
};

// Positions from here on are reached by the far move.
constexpr int FarPosition = 32001;

// "Cannot find "text"" with the information icon.
void showNotFound(const QString& text);

// The caret to `position` of the document's text control. Positions from
// FarPosition on were once reached by stepping the selection through the
// text with word wrap off; this control takes any position at once, so only
// the lasting effects of that walk remain: with Word Wrap checked the text is
// wrapped again at 1.1 times the control's width, and the window is redrawn.
void moveCaret(Workspace& main, frmDocument& document, int position);

// The wrap margin the far move leaves: the width times a single-precision
// 1.1, computed in single precision, to the nearest twip.
int farMoveRightMargin(int widthTwips);

}  // namespace search
