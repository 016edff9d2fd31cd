#include "core/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>

namespace Clipboard {

void Clear() { QGuiApplication::clipboard()->clear(); }

// CR LF pairs become LF, in place and in one pass: a line at a time, as
// indexOf and memmove are vectorised.
static void usePlatformBreaks(QString& text)
{
    qsizetype at = text.indexOf(u'\r');
    if (at < 0)
        return;
    QChar* const data = text.data();
    qsizetype start = 0, kept = 0;
    const auto keepUpTo = [&](qsizetype end) {
        std::memmove(data + kept, data + start, size_t(end - start) * sizeof(QChar));
        kept += end - start;
    };
    for (; at >= 0; at = text.indexOf(u'\r', at + 1)) {
        if (at + 1 < text.size() && data[at + 1] == u'\n') {
            keepUpTo(at);
            start = at + 1;  // the LF goes with the next line
        }
    }
    keepUpTo(text.size());
    text.truncate(kept);
}

QString withPlatformBreaks(QString text)
{
    usePlatformBreaks(text);
    return text;
}

void SetText(QString text) { QGuiApplication::clipboard()->setText(withPlatformBreaks(std::move(text))); }

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
