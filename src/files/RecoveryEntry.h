#pragma once
// What a document leaves behind for the next start if the program dies with
// unsaved changes: its text paragraph by paragraph with the formats Qt keeps
// for it (so a restored document is the same QTextDocument, not a
// re-import), the plain-text file format and each paragraph's line break
// (so Save writes the bytes it would have written), and where it came from.
#include "document/TextFileCodec.h"
#include "files/RecoveryBlockList.h"

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextFormat>

class QIODevice;
class QTextBlock;
class QTextDocument;

RecoveryBlock recordBlock(const QTextBlock& block);

// The part the start-up offer shows, read without the text.
struct RecoveryHeader {
    QString filePath;  // "" while untitled
    QString caption;
    QString title;
    QDateTime lastChange;
};

struct RecoveryEntry {
    RecoveryHeader header;
    qint32 backColor = 0;
    QFont baseFont;
    TextFileFormat fileFormat;
    QList<QTextFormat> formats;  // QTextDocument::allFormats(), indexed by the blocks
    RecoveryBlockList blocks;

    // The whole document at once.
    static RecoveryEntry ofDocument(const QTextDocument& document);
    // Replaces document's content (not its default font) with the entry's.
    void restoreInto(QTextDocument& document) const;
};

bool writeRecoveryEntry(QIODevice& device, const RecoveryEntry& entry);
// False on a file that is not an entry, is from a newer program, or is cut short.
bool readRecoveryEntry(QIODevice& device, RecoveryEntry* entry);
bool readRecoveryHeader(QIODevice& device, RecoveryHeader* header);
