#pragma once
// Every command of the menu bar, the context menu and the toolbar, one row
// each: to add a command, add its row here and its handler in its subsystem.
#include <QKeySequence>
#include <QList>
#include <QString>

class Workspace;

struct Command {
    enum Flags { Checkable = 1, Checked = 2 };

    const char* control;           // the item's name: a single item, or a control array
    int index = -1;                // its index in the control array; -1 for a single item
    const char* caption = "-";     // a string-table id, a caption, or "-" for a separator
    QKeySequence shortcut = {};
    const char* toolbarKey = nullptr;     // the toolbar button that runs it too
    void (*handler)(Workspace&) = nullptr;
    bool (*enabled)(Workspace&) = nullptr;  // decided as its menu opens; always when null
    int flags = 0;

    // "mnuFileItem_3" for an array's item, "mnuTime" for a single one.
    QString objectName() const;
    bool isSeparator() const { return QLatin1String(caption) == QLatin1String("-"); }
};

struct CommandMenu {
    const char* name;     // the menu's own name, e.g. "mnuFile"
    const char* caption;  // a string-table id or a caption
    QList<Command> items;
};

// The menu bar's menus in their order, then the context menu on its own.
const QList<CommandMenu>& menuBarCommands();
const CommandMenu& contextMenuCommands();
// A menu of either by its name, e.g. "mnuEdit".
const CommandMenu& commandMenu(const QString& name);

// The row of a control array's item or of a single item, or of a toolbar button.
const Command* findCommand(const QString& control, int index = -1);
const Command* findToolbarCommand(const QString& key);
