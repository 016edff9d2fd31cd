#pragma once
// The program's two ways into the per-user settings store. The store lives in
// the user's config folder ($XDG_CONFIG_HOME/Pagewell/<application>.ini).
#include <QString>

class SettingsStore;

// The stored text, or defaultValue when the key was never written.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);

// The file that holds an application's settings.
QString settingsFilePath(const QString& appName);

// Forget cached stores, so that a changed config folder takes effect (tests).
void resetSettingsStores();

inline const QString AppTitle = QStringLiteral("Pagewell");
