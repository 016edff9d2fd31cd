#include "core/Settings.h"

#include "core/SettingsStore.h"

#include <QHash>
#include <QStandardPaths>
#include <memory>

namespace {

QHash<QString, std::shared_ptr<SettingsStore>>& stores()
{
    static QHash<QString, std::shared_ptr<SettingsStore>> all;
    return all;
}

SettingsStore& storeFor(const QString& appName)
{
    auto& all = stores();
    auto it = all.find(appName);
    if (it == all.end())
        it = all.insert(appName, std::make_shared<SettingsStore>(settingsFilePath(appName)));
    return **it;
}

}  // namespace

QString settingsFilePath(const QString& appName)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QLatin1String("/Pagewell/") + appName + QLatin1String(".ini");
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    bool found = false;
    const QString value = storeFor(appName).value(section, key, &found);
    return found ? value : defaultValue;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value)
{
    storeFor(appName).setValue(section, key, value);
}

void UpdateSettings(const QString& appName, const std::function<void(SettingsStore::Transaction&)>& change)
{
    storeFor(appName).update(change);
}

void resetSettingsStores() { stores().clear(); }
