#pragma once
// The single searches behind the Find and Replace dialogs and their menu
// commands, apart from the windows: where each starts, and what it selects
// and replaces. A successful search selects the match; a failed one leaves
// the selection as it was.
#include <QString>

class RichTextBox;

namespace search {

enum class Direction { Down, Up };

// A search of the Find dialog, or with passSelection of Find Next. Down runs
// from the selection's start (one further with passSelection, so that a
// selected match is passed over) to the end and never wraps round; Up finds
// the nearest match that begins before the selection's start. Returns the
// match's position, or -1.
int findInDirection(RichTextBox& text, const QString& what, int options, Direction direction, bool passSelection);

// The Replace dialog's steps. Each returns where Replace All and Replace
// Next search next: one past the match's start, or 0 when nothing was found.

// Find: from the selection's start, one further when something is selected.
int findStep(RichTextBox& text, const QString& what, int options);
// Replace: the search starts at the caret, so the match that Find left
// selected is the one replaced.
int replaceStep(RichTextBox& text, const QString& what, const QString& replacement, int options);
// Replace Next: from `start`, the position the last step left.
int replaceNextStep(RichTextBox& text, const QString& what, const QString& replacement, int start, int options);
// Replace All: nothing unless a first search, from the caret, finds a match
// (returns -1 then); otherwise the loop of replaceAllFrom from `start`, and
// where its next search would start (`start` when it replaced nothing).
// Cancelled, the selection is back as it was and ReplaceAllCancelled is
// returned.
int replaceAllStep(RichTextBox& text, const QString& what, const QString& replacement, int start, int options);

}  // namespace search
