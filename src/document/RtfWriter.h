#pragma once
// Saving a document as Rich Text Format: a font table with every family
// used (the document's default font first), a colour table with every text
// colour, each paragraph's tab stops and each run's font, size, bold,
// italic, underline, strike-out and colour. Characters beyond ASCII are
// written as \uN with a '?' fallback, so any RTF reader gets the text.
#include "document/ByteSink.h"

#include <QByteArray>

class QTextDocument;

QByteArray writeRtf(const QTextDocument& document);

// The same bytes handed to sink a slice at a time; false once it failed.
bool writeRtf(const QTextDocument& document, const ByteSink& sink);
