#pragma once
// The Replace dialog's Replace All loop, done in one pass over the text and
// put into the document as one undoable edit.
#include <QString>

class RichTextBox;

namespace search {

// The replacement as the control stores it, every line break as CR LF: its
// length is how far the loop's next search starts after the match.
QString storedReplacement(const QString& replacement);

// Replaces what the loop "search from `start`; replace the match; search on
// right after the inserted text" replaces, with the control's Find options.
// Each replacement takes the format of the first character it replaces, the
// text around keeps its own, and one Undo takes all of them back. The caret
// ends after the last replacement. Returns that position (where the loop's
// next search would start), or -1 when nothing was replaced. A long one
// shows its progress; cancelled, it leaves the text as it was and returns
// ReplaceAllCancelled.
constexpr int ReplaceAllCancelled = -2;
int replaceAllFrom(RichTextBox& text, const QString& what, const QString& replacement, int start, int options);

}  // namespace search
