#include "files/RecentFiles.h"

#include <algorithm>

QString recentFileKey(int k) { return QStringLiteral("File%1").arg(k); }

RecentEntries updatedRecentEntries(const RecentEntries& stored, const RecentEntries& shown,
                                   const QString& path)
{
    // Index of the item that shows the path; 4 when none does.
    int found = 4;
    for (int i = 0; i < 4; ++i) {
        if (!shown[i].isEmpty() && shown[i] == path) {
            found = i;
            break;
        }
    }
    if (found == 0)
        return stored;
    RecentEntries entries = stored;
    // From the bottom up: the entry at i takes the one above it, when that
    // one is not empty. A new path starts at File4, which is lost.
    for (int i = std::min(found, 3); i >= 1; --i) {
        if (!entries[i - 1].isEmpty())
            entries[i] = entries[i - 1];
    }
    entries[0] = path;
    return entries;
}

QString recentFileCaption(int k, const QString& path)
{
    return u'&' + QString::number(k) + u' ' + path;
}

QString pathFromRecentCaption(const QString& caption) { return caption.mid(3); }

void updateRecentEntries(SettingsStore::Transaction& settings, const RecentEntries& shown, const QString& path)
{
    RecentEntries stored;
    for (int k = 1; k <= 4; ++k)
        stored[size_t(k - 1)] = settings.value(RecentFilesSection, recentFileKey(k));
    const RecentEntries updated = updatedRecentEntries(stored, shown, path);
    for (int k = 1; k <= 4; ++k) {
        if (updated[size_t(k - 1)] != stored[size_t(k - 1)])
            settings.setValue(RecentFilesSection, recentFileKey(k), updated[size_t(k - 1)]);
    }
}
