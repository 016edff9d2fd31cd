#pragma once
// The rule behind the four most recently used files: the stored entries
// File1 (newest) to File4 in the settings section "Recent Files", and the
// File menu items "&1 " + path to "&4 " + path that mirror them.
#include "core/SettingsStore.h"

#include <QString>
#include <array>

using RecentEntries = std::array<QString, 4>;  // File1..File4; "" is no entry

inline const QString RecentFilesSection = QStringLiteral("Recent Files");
QString recentFileKey(int k);  // "File1".."File4" for k = 1..4

// The entries after the document with path has been recorded. shown holds
// the paths of the loaded menu items 1..4 ("" where no item is loaded);
// path is compared with them exactly, case included. A match with item k
// moves the entries above k down one place, a new path moves all down and
// drops File4; an entry moves only if it is not empty. path becomes File1.
RecentEntries updatedRecentEntries(const RecentEntries& stored, const RecentEntries& shown,
                                   const QString& path);

// Records path in the stored entries of an open settings update, writing
// only the keys that change.
void updateRecentEntries(SettingsStore::Transaction& settings, const RecentEntries& shown, const QString& path);

// Menu item k (1..4): "&k " + path, so its access key is its digit.
QString recentFileCaption(int k, const QString& path);
// The path an item shows: its caption without the first three characters.
QString pathFromRecentCaption(const QString& caption);
