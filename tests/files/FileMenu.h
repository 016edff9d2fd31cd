#pragma once
// The File menu on top of the shared main-window set-up: its items by
// position, Open answered with a path, and the recent entries as stored.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <cstdio>

using namespace testsupport;

enum FileMenuItem { New = 0, Open = 1, Insert = 2, Close = 3, Save = 5, SaveAs = 6, SaveAll = 7, Properties = 9,
                    PrintSetup = 12, Exit = 15 };

struct FileMenu : MainWindowFixture {
    // As a click would; a disabled item does nothing.
    void command(int item)
    {
        main->item("mnuFileItem", item)->trigger();
        QApplication::processEvents();
    }
    frmDocument* open(const QString& path)
    {
        dialogs->choose(path);
        command(Open);
        return active();
    }
    // Drags files (or, with none, text) onto target and drops them at its top left.
    frmDocument* drop(QWidget* target, const QStringList& paths, const QString& text = {})
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        data.setText(text);
        QDragEnterEvent enter({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QDropEvent drop({4, 4}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QApplication::sendEvent(target, &drop);
        QApplication::processEvents();
        return active();
    }
    void typeAtEnd(const QString& keys)
    {
        QTest::keyClick(text(), Qt::Key_End, Qt::ControlModifier);
        type(keys);
    }
    // Entries File1..File4 of the store, by their literal keys.
    static QStringList recent()
    {
        QStringList entries;
        for (int k = 1; k <= 4; ++k)
            entries << setting(QStringLiteral("Recent Files"), QStringLiteral("File%1").arg(k));
        return entries;
    }
    // The items after Exit: "-" for the separator, "(-)" while it is hidden.
    QStringList recentItems() const
    {
        const QList<QAction*> actions = main->mnuFile->actions();
        QStringList items;
        for (qsizetype i = actions.indexOf(main->item("mnuFileItem", Exit)) + 1; i < actions.size(); ++i)
            items << (!actions[i]->isSeparator() ? actions[i]->text() : actions[i]->isVisible() ? "-" : "(-)");
        return items;
    }
    QStringList files() const { return QDir(folder->path()).entryList(QDir::Files); }
};

// Puts a new file in path's place, as editors and tools do.
inline bool replaceFile(const QString& path, const QByteArray& bytes)
{
    writeBytes(path + QStringLiteral(".new"), bytes);
    return std::rename(QFile::encodeName(path + ".new").constData(), QFile::encodeName(path).constData()) == 0;
}
