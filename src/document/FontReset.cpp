#include "document/FontReset.h"

#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QTextCharFormat withoutFont(QTextCharFormat format)
{
    static const int fontProperties[] = {
        QTextFormat::FontFamily,    QTextFormat::FontFamilies, QTextFormat::FontStyleName,
        QTextFormat::FontPointSize, QTextFormat::FontPixelSize, QTextFormat::FontSizeAdjustment,
        QTextFormat::FontWeight,    QTextFormat::FontItalic,
    };
    for (int property : fontProperties)
        format.clearProperty(property);
    return format;
}

void dropExplicitFonts(QTextDocument& document)
{
    struct Run {
        int start, end;
        QTextCharFormat format;
    };
    // Collected first: changing a format merges fragments under an iterator.
    QList<Run> runs;
    QList<QPair<int, QTextCharFormat>> emptyBlocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1)
            emptyBlocks.append({block.position(), withoutFont(block.charFormat())});
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            runs.append({fragment.position(), fragment.position() + fragment.length(),
                         withoutFont(fragment.charFormat())});
        }
    }
    QTextCursor editor(&document);
    editor.beginEditBlock();
    for (const Run& run : runs) {
        editor.setPosition(run.start);
        editor.setPosition(run.end, QTextCursor::KeepAnchor);
        editor.setCharFormat(run.format);
    }
    for (const auto& [position, format] : emptyBlocks) {
        editor.setPosition(position);
        editor.setBlockCharFormat(format);
    }
    editor.endEditBlock();
}
