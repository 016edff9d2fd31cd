#pragma once
// Every character painted in a colour of its own, so that a test can see
// where each character's format came from after an edit.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>

namespace testsupport {

inline void paintEachCharacter(QTextDocument& document)
{
    QTextCursor cursor(&document);
    for (int at = 0; at + 1 < document.characterCount(); ++at) {
        cursor.setPosition(at);
        cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(QColor(at % 250 + 1, 0, 0));
        cursor.setCharFormat(format);
    }
}

// Colour of every character by text offset; -1 for the CR and LF of a break.
inline QVector<int> characterColours(const QTextDocument& document)
{
    QVector<int> result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            result.insert(result.size(), it.fragment().length(), it.fragment().charFormat().foreground().color().red());
        if (block.next().isValid())
            result << -1 << -1;
    }
    return result;
}

}  // namespace testsupport
