#include "ScriptedMessageBoxes.h"

ScriptedMessageBoxes::ScriptedMessageBoxes() { setMessageBoxHandler(this); }

ScriptedMessageBoxes::~ScriptedMessageBoxes() { setMessageBoxHandler(nullptr); }

int ScriptedMessageBoxes::show(QWidget*, const QString& prompt, int style, const QString& title)
{
    shown.append({prompt, style, title});
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}
