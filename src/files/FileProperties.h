#pragma once
// Facts about a document's file for File, Properties and the read-only test
// of saving: the attribute value built from the file system, its text, and
// the five-line message of the File Information box.
#include <QDateTime>
#include <QString>
#include <optional>

enum FileAttribute { faReadOnly = 1, faHidden = 2, faSystem = 4, faDirectory = 16, faArchive = 32 };

// Read-only when the owner-write permission bit is clear (so also for
// root, who may write anyway), hidden for a name starting with ".", archive
// for every regular file, directory for a folder; 0 when nothing is there.
int fileAttributes(const QString& path);

// The save commands' test: exactly read-only (1) or read-only and archive (33).
bool isRefusedAsReadOnly(int attributes);

// "Normal", "Read-Only", ... for the value with the archive bit dropped
// (when above 7). Bits beyond the first three (e.g. directory) are ignored.
QString attributeText(int attributes);

struct FileFacts {
    qint64 size = 0;
    QDateTime modified;  // local time
    int attributes = 0;
};

// The facts of the file at path; nullopt with the system's reason in
// *error when it cannot be examined.
std::optional<FileFacts> readFileFacts(const QString& path, QString* error = nullptr);

// The last component of the path ("/" separated); the path if it has none.
QString fileNameFromPath(const QString& path);

// The File Information text: five lines joined by CR LF, for the document
// titled title (its upper-cased path). Dates use English month names and
// AM/PM (the C locale), whatever the system's locale, like the rest of
// the program's texts. lineCount is shown in full, after one blank.
QString filePropertiesMessage(const QString& title, const FileFacts& facts, qint64 lineCount);
