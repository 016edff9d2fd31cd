#pragma once
// A started main window with scripted message boxes and common dialogs, and a
// fresh folder for each case's files: the one set-up every command test shares.
#include "ScriptedCommonDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "WhenModal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTemporaryDir;
class frmMain;
class frmDocument;
class RichTextBox;

namespace testsupport {

QByteArray bytesOf(const QString& path);  // "(missing)" when it cannot be read
void writeBytes(const QString& path, const QByteArray& bytes);
QString setting(const QString& section, const QString& key);
void putSetting(const QString& section, const QString& key, const QString& value);

class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<ScriptedCommonDialogs> dialogs;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<QTemporaryDir> folder;

    // Fresh settings, then `storeFirst` (settings the run should find), fresh
    // scripts, and a main window after start-up.
    void start(const QString& commandLine = QString(), const std::function<void()>& storeFirst = {});
    // start() with the stored Word Wrap switch (a first start wraps).
    void startWrapped(bool wrap);
    // A new main window on the same settings and scripts, as a new run.
    void restart(const QString& commandLine = QString());
    void stop();

    QString path(const QString& name) const;  // in this case's folder
    QString file(const QString& name, const QByteArray& bytes) const;

    frmDocument* active() const;
    RichTextBox* text() const;
    int documentCount() const;

    // The active document holds `content` with the given selection, unchanged.
    void show(const QString& content, int selStart = 0, int selLength = 0);
    // Types as the user would; letters beyond ASCII arrive as text with no key.
    void type(const QString& keys);

    QStringList prompts() const;  // every message box shown, in order
    QString lastPrompt() const;
};

}  // namespace testsupport
