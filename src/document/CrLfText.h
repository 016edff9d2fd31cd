#pragma once
// A document's text as the program sees it: every paragraph break counts as
// the two characters CR LF, so paragraph n starts n characters after its
// position in the document.
#include <QString>

class QTextDocument;

// The paragraph separators (U+2029) of raw text as CR LF.
QString withCrLfBreaks(const QString& raw);

int crLfLength(const QTextDocument& document);
int crLfIndex(const QTextDocument& document, int position);
// An index on the CR or LF of a break means the paragraph's end.
int documentPosition(const QTextDocument& document, int index);
