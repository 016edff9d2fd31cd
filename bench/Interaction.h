#pragma once
// Timed user input for the interactive measurements: one keystroke or one
// click, each until the control's viewport has painted the result, as the
// user would see it. Works the same on the editor's control and on a
// QPlainTextEdit.
#include <QPoint>
#include <QSize>
#include <QString>
#include <Qt>

#include <string>

class QAbstractScrollArea;
class QWidget;

namespace bench {

// Runs the event loop for `ms` milliseconds.
void runEventsFor(double ms);

// Runs pending events until `viewport` has painted; repaints it when
// nothing was due. False when the paint had to be forced that way.
bool paintPending(QWidget* viewport);

// Milliseconds from pressing `key` in `editor` until the viewport has
// painted; `forced` counts the presses whose paint had to be forced.
double timedKey(QAbstractScrollArea* editor, Qt::Key key, int* forced = nullptr);
// Milliseconds from a left click at `at` (viewport coordinates) until the
// viewport has painted.
double timedClick(QAbstractScrollArea* editor, QPoint at, int* forced = nullptr);

// Activates the editor's window and gives it the keyboard focus, so that its
// caret shows (and blinks) as it does for the user.
void focusEditor(QWidget* editor);

// "640x480", and back (an invalid size for anything else).
std::string sizeText(QSize size);
QSize sizeFromText(const std::string& text);

}  // namespace bench
