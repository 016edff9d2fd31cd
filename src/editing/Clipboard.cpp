#include "editing/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Clipboard {

void Clear() { QGuiApplication::clipboard()->clear(); }

void SetText(const QString& text)
{
    QString platformText = text;
    platformText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QGuiApplication::clipboard()->setText(platformText);
}

QString GetText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() ? data->text() : QString();
}

bool GetFormat(int format)
{
    if (format != vbCFText)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace Clipboard
