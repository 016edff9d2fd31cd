#pragma once
// The Font and Color commands' steps around the shared common dialog.
#include <QString>

class CommonDialog;
class QFont;
class QWidget;
class RichTextBox;

// Font: presets from the control's base font and the stored text colour
// ("" leaves Color as the dialog holds it); underline and strike-out stay
// as the dialog last held them.
void prepareFontDialog(CommonDialog& dialog, const QFont& base, const QString& storedColor);

// The chosen font, colour, underline and strike-out for the whole text and
// the base font; the caret ends at 0 and the undo history is gone. Drawing
// of the window is off meanwhile. Returns the colour now at the caret.
qint32 applyFontToAll(RichTextBox& text, const CommonDialog& dialog, QWidget* window);

// The chosen font and effects for the selection only.
void applyFontToSelection(RichTextBox& text, const CommonDialog& dialog);

// Color: always opens on the system window colour.
void prepareColorDialog(CommonDialog& dialog);
