#include "core/OleColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace olecolor {

bool isSystemColor(qint32 value) { return (quint32(value) & 0x80000000u) != 0; }

static QColor systemColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: return palette.color(QPalette::Base);           // window background
    case 8: return palette.color(QPalette::Text);           // window text
    case 15: return palette.color(QPalette::Button);        // button face
    case 18: return palette.color(QPalette::ButtonText);
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 12: return palette.color(QPalette::Window);        // application workspace
    default: return palette.color(QPalette::Window);
    }
}

QColor toQColor(qint32 value)
{
    if (isSystemColor(value))
        return systemColor(int(quint32(value) & 0xFFFFu));
    const quint32 v = quint32(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

}  // namespace olecolor
