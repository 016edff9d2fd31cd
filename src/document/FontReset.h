#pragma once
// Text formatted with a font of its own going back to the document's
// default font: face, size, weight and slant are dropped, colours and
// effects stay.
#include <QTextCharFormat>

class QTextDocument;

QTextCharFormat withoutFont(QTextCharFormat format);

// Every character format of the document, empty paragraphs' included.
void dropExplicitFonts(QTextDocument& document);
