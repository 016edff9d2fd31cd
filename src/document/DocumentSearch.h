#pragma once
// Find forward and backward over a document's stored text, with the rules of
// textsearch, in Text() offsets (a paragraph break counts two), without
// building the whole text: a search reads the document's own buffer a
// window at a time.
#include <QStringView>

class QTextDocument;

namespace textsearch {

// As findForward and findBackward on the document's Text().
int findInDocument(const QTextDocument& document, QStringView what, int start, int end, int options);
int findBackwardInDocument(const QTextDocument& document, QStringView what, int before, int options);

}  // namespace textsearch
