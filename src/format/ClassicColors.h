#pragma once
// The sixteen colours the font dialog offers by name, as 0x00BBGGRR values.
#include <QList>
#include <QString>
#include <QtGlobal>

struct NamedColor {
    QString name;
    qint32 value;
};

const QList<NamedColor>& classicColors();

// Position of the colour in classicColors(), or -1. A system colour is
// compared by the colour it stands for.
int classicColorIndex(qint32 color);
