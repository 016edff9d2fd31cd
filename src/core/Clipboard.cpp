#include "core/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Clipboard {

void Clear() { QGuiApplication::clipboard()->clear(); }

// CR LF pairs become LF, in one pass over the text.
static QString withPlatformBreaks(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out(text.size(), Qt::Uninitialized);
    QChar* to = out.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            continue;
        *to++ = text[i];
    }
    out.truncate(to - out.data());
    return out;
}

void SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(withPlatformBreaks(text));
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
