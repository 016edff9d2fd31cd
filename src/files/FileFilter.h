#pragma once
// The file types the user keeps (six rows of extension and display name in
// the settings section "Extension") and the Filter text the file dialogs
// get from them, plus the File Types dialog's key rules.
#include <QChar>
#include <QString>
#include <array>

struct FileType {
    QString extension;  // without the dot; "*" is all files; "" is an unused row
    QString name;
};
using FileTypeRows = std::array<FileType, 6>;

inline const QString FileTypeSection = QStringLiteral("Extension");
// The store's keys of row 0..5: "One"/"OneName" to "Six"/"SixName".
QString fileTypeExtensionKey(int row);
QString fileTypeNameKey(int row);

// The list the dialogs show while row 1 has no extension.
inline const QString DefaultFileFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini");

// DefaultFileFilter when row 1's extension is "" (the other rows are then
// ignored); else "Name (*.ext) |*.ext" for each row with an extension,
// joined by "|". Note the blank before each "|" after a display text.
QString buildFileFilterText(const FileTypeRows& rows);

// What the File Types dialog shows with nothing stored, and after Default:
// * / All Files, txt / Text Files, ini / INI Files, three empty rows.
FileTypeRows initialFileTypeRows();

// Key rules of the File Types dialog, for typed characters (Backspace
// included): an extension box refuses "."; a name box refuses every key
// while its row's extension box is empty. A refused key beeps.
bool extensionBoxAcceptsKey(QChar typed);
bool nameBoxAcceptsKey(const QString& rowExtension);
