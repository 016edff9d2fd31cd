#pragma once
// Dialogs move the mouse pointer onto the centre of one of their buttons
// when they open.
#include <QPoint>

class QWidget;

struct TwipRect {
    double left = 0, top = 0, width = 0, height = 0;
};

constexpr double PointerCaptionOffset = 360;  // dialogs
constexpr double AboutCaptionOffset = 300;    // the About box

// Target in screen pixels: the button's centre in the dialog plus a fixed
// allowance for border (60 twips) and caption, each rounded half to even.
QPoint pointerTarget(double dialogLeft, double dialogTop, const TwipRect& button,
                     double twipsPerPixelX, double twipsPerPixelY,
                     double captionOffset = PointerCaptionOffset);

// Moves the pointer onto the button of the dialog (SetCursorPos).
void placePointerOn(const QWidget* dialog, const QWidget* button,
                    double captionOffset = PointerCaptionOffset);
