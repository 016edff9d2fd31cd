#pragma once
// The system clipboard in its plain-text form: the four operations the
// commands use. Text put on it carries the platform's line breaks, so other
// programs paste it as they expect.
#include <QString>

namespace Clipboard {

constexpr int vbCFText = 1;

void Clear();
void SetText(QString text);
// CR LF pairs made the platform's line break, in place.
QString withPlatformBreaks(QString text);
QString GetText();             // "" when it holds no text
bool GetFormat(int format = vbCFText);  // whether it holds text

}  // namespace Clipboard
