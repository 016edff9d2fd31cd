#pragma once
// The program's two ways into the per-user settings store. The store lives in
// the user's config folder ($XDG_CONFIG_HOME/Pagewell/<application>.ini).
#include "core/SettingsStore.h"

#include <QString>
#include <functional>

// The stored text, or defaultValue when the key was never written.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);

// Several keys read, changed and written back with no other copy of the
// program writing in between.
void UpdateSettings(const QString& appName, const std::function<void(SettingsStore::Transaction&)>& change);

// The file that holds an application's settings.
QString settingsFilePath(const QString& appName);

// Forget cached stores, so that a changed config folder takes effect (tests).
void resetSettingsStores();

inline const QString AppTitle = QStringLiteral("Pagewell");
