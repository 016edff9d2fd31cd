#pragma once
// Every modal message of the program goes through MsgBox, so that tests can
// answer it by script (setMessageBoxHandler).
#include <QString>

class QWidget;

namespace vb {
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };
}  // namespace vb

class MessageBoxHandler {
public:
    virtual ~MessageBoxHandler() = default;
    virtual int show(QWidget* parent, const QString& prompt, int style, const QString& title) = 0;
};

int MsgBox(const QString& prompt, int style = vb::vbOKOnly, const QString& title = QString());

// nullptr restores the real message boxes.
void setMessageBoxHandler(MessageBoxHandler* handler);

// The platform beep for refused keys.
void Beep();
