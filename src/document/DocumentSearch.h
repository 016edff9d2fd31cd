#pragma once
// Find forward and backward over a document's stored text, with the rules of
// textsearch, in Text() offsets (a paragraph break counts two), without
// building the whole text: a search reads the document's own buffer a
// window at a time.
#include <QStringView>
#include <functional>

class QTextDocument;

namespace textsearch {

// As findForward and findBackward on the document's Text(). between, if
// given, is called between windows, where the caller may paint.
int findInDocument(const QTextDocument& document, QStringView what, int start, int end, int options,
                   const std::function<void()>& between = {});
int findBackwardInDocument(const QTextDocument& document, QStringView what, int before, int options,
                           const std::function<void()>& between = {});

}  // namespace textsearch
