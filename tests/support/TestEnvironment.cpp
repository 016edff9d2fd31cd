#include "TestEnvironment.h"

#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

namespace testenv {

static QTemporaryDir* tempRoot = nullptr;

void isolate()
{
    tempRoot = new QTemporaryDir(QDir::tempPath() + QLatin1String("/pagewell-test-XXXXXX"));
    const QByteArray base = tempRoot->path().toLocal8Bit();
    QDir(tempRoot->path()).mkpath(QStringLiteral("config"));
    QDir(tempRoot->path()).mkpath(QStringLiteral("data"));
    QDir(tempRoot->path()).mkpath(QStringLiteral("home"));
    QDir(tempRoot->path()).mkpath(QStringLiteral("state"));
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_STATE_HOME", base + "/state");
    qputenv("XDG_DATA_HOME", base + "/data");
    qputenv("HOME", base + "/home");
    QDir(tempRoot->path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(tempRoot->path() + QLatin1String("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", base + "/runtime");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::atexit([] { delete tempRoot; });
}

QString root() { return tempRoot->path(); }

void clearSettings()
{
    QFile::remove(settingsFilePath(AppTitle));
    resetSettingsStores();
}

QString writeFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString path = root() + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

}  // namespace testenv
