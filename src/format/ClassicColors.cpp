#include "format/ClassicColors.h"

#include "core/OleColor.h"

const QList<NamedColor>& classicColors()
{
    static const QList<NamedColor> colors{
        {QStringLiteral("Black"), 0x000000},  {QStringLiteral("Maroon"), 0x000080},
        {QStringLiteral("Green"), 0x008000},  {QStringLiteral("Olive"), 0x008080},
        {QStringLiteral("Navy"), 0x800000},   {QStringLiteral("Purple"), 0x800080},
        {QStringLiteral("Teal"), 0x808000},   {QStringLiteral("Gray"), 0x808080},
        {QStringLiteral("Silver"), 0xC0C0C0}, {QStringLiteral("Red"), 0x0000FF},
        {QStringLiteral("Lime"), 0x00FF00},   {QStringLiteral("Yellow"), 0x00FFFF},
        {QStringLiteral("Blue"), 0xFF0000},   {QStringLiteral("Fuchsia"), 0xFF00FF},
        {QStringLiteral("Aqua"), 0xFFFF00},   {QStringLiteral("White"), 0xFFFFFF},
    };
    return colors;
}

int classicColorIndex(qint32 color)
{
    const qint32 rgb = olecolor::fromQColor(olecolor::toQColor(color));
    const QList<NamedColor>& colors = classicColors();
    for (int i = 0; i < colors.size(); ++i) {
        if (colors[i].value == rgb)
            return i;
    }
    return -1;
}
