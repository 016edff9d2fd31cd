#pragma once
// A main window with scripted message boxes and common dialogs, a fresh
// folder for each case's files, and small helpers for the File commands.
#include "ScriptedCommonDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "files/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

namespace files {

enum FileMenuIndex {
    New = 0, Open = 1, Insert = 2, Close = 3, Save = 5, SaveAs = 6, SaveAll = 7,
    Properties = 9, PrintSetup = 12, Exit = 15
};

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Puts a new file with bytes in path's place, as editors and tools do.
inline bool replaceFile(const QString& path, const QByteArray& bytes)
{
    writeBytes(path + QStringLiteral(".new"), bytes);
    return std::rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData()) == 0;
}

inline QString setting(const QString& section, const QString& key)
{
    return GetSetting(AppTitle, section, key);
}

inline QString recent(int k) { return setting(RecentFilesSection, recentFileKey(k)); }

// Runs act on the first modal widget of type T once it is shown. A modal
// widget that is still open after the time limit is rejected, so a test
// that goes wrong ends instead of waiting for a user. The watch ends with
// the returned timer: a case whose dialog never came deletes it, so that it
// cannot act on a later case's dialog.
template <class T>
QPointer<QTimer> whenModal(std::function<void(T*)> act, int limitMs = 10000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act, limitMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* wanted = qobject_cast<T*>(modal)) {
            timer->stop();
            timer->deleteLater();
            act(wanted);
            return;
        }
        *waited += 20;
        if (*waited > limitMs) {
            timer->stop();
            timer->deleteLater();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer->start();
    return timer;
}

class Fixture {
public:
    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<ScriptedCommonDialogs> dialogs;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<QTemporaryDir> folder;

    // A fresh store, fresh scripts and a main window after start-up.
    void start(const QString& commandLine = QString())
    {
        stop();
        testenv::clearSettings();
        folder = std::make_unique<QTemporaryDir>(testenv::root() + QStringLiteral("/case-XXXXXX"));
        boxes = std::make_unique<ScriptedMessageBoxes>();
        dialogs = std::make_unique<ScriptedCommonDialogs>();
        restart(commandLine);
    }

    // A new main window on the same store and scripts (a new run).
    void restart(const QString& commandLine = QString())
    {
        main.reset();
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(commandLine);
        main->show();
        QApplication::setActiveWindow(main.get());
        QApplication::processEvents();
    }

    void stop()
    {
        main.reset();
        dialogs.reset();
        boxes.reset();
        folder.reset();
    }

    // A path in this case's folder.
    QString path(const QString& name) const { return folder->path() + u'/' + name; }
    QString file(const QString& name, const QByteArray& bytes) const
    {
        writeBytes(path(name), bytes);
        return path(name);
    }

    frmDocument* active() const { return main->ActiveDocument(); }
    RichTextBox* text() const { return active()->txtText; }
    int documentCount() const { return int(main->Documents().size()); }

    // Runs a File menu item as a click would; a disabled item does nothing.
    void command(int index)
    {
        main->mnuFileItem[size_t(index)]->trigger();
        QApplication::processEvents();
    }

    // File, Open, answering the dialog with path.
    frmDocument* open(const QString& path)
    {
        dialogs->choose(path);
        command(Open);
        return active();
    }

    // Types into the active document as the user would; letters beyond
    // ASCII arrive as typed text with no key of their own.
    void type(const QString& keys)
    {
        for (QChar key : keys) {
            if (key.unicode() < 128) {
                QTest::keyClicks(text(), QString(key));
            } else {
                QTest::sendKeyEvent(QTest::Press, text(), Qt::Key_unknown, QString(key), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, text(), Qt::Key_unknown, QString(key), Qt::NoModifier);
            }
        }
    }

    // Opens the File menu's drop-down state (what happens before it shows).
    void openFileMenu() { emit main->mnuFile->aboutToShow(); }

    // The items the File menu shows after Exit, from the separator on.
    QStringList recentMenuCaptions() const
    {
        QStringList captions;
        const QList<QAction*> actions = main->mnuFile->actions();
        const qsizetype exit = actions.indexOf(main->mnuFileItem[Exit]);
        for (qsizetype i = exit + 1; i < actions.size(); ++i)
            captions << (actions[i]->isSeparator() ? (actions[i]->isVisible() ? QStringLiteral("-")
                                                                                 : QStringLiteral("(-)"))
                                                   : actions[i]->text());
        return captions;
    }

    QStringList prompts() const
    {
        QStringList texts;
        for (const ShownMessage& message : boxes->shown)
            texts << message.prompt;
        return texts;
    }
};

}  // namespace files
