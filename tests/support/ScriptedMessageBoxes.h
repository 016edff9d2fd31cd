#pragma once
// Answers the program's message boxes by script and records what was asked.
#include "core/MessageBox.h"

#include <QList>
#include <QString>

struct ShownMessage {
    QString prompt;
    int style = 0;
    QString title;
};

class ScriptedMessageBoxes : public MessageBoxHandler {
public:
    ScriptedMessageBoxes();   // installs itself
    ~ScriptedMessageBoxes() override;  // restores the real boxes

    // Answers for the next boxes, in order; defaultAnswer once they run out.
    QList<int> answers;
    int defaultAnswer = vb::vbOK;
    QList<ShownMessage> shown;

    int show(QWidget* parent, const QString& prompt, int style, const QString& title) override;
};
