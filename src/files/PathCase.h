#pragma once
// Captions and the recent-files list keep paths in upper case, which on a
// case-sensitive file system may name no file. This finds the file meant.
#include <QString>

// The existing path whose components match upperPath's one by one, with
// case (and Unicode composition) ignored: for each component an exact match
// is tried first, then the case-insensitive ones in name order (for the
// last component files before folders); a path that leads nowhere is given
// up for the next candidate. "" when none exists.
// Relative paths are looked up from the current folder and stay relative.
QString resolvePathCaseInsensitive(const QString& upperPath);
