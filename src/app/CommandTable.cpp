#include "app/CommandTable.h"

#include "app/frmMain.h"
#include "editing/EditCommands.h"
#include "files/FileCommands.h"
#include "format/FormatCommands.h"
#include "help/HelpCommands.h"
#include "print/PrintCommands.h"
#include "search/SearchCommands.h"

namespace {

// The main window's own commands.
frmMain& frame(Workspace& workspace) { return static_cast<frmMain&>(workspace); }
void newDocument(Workspace& workspace) { workspace.NewDocument(); }
void exitProgram(Workspace& workspace) { frame(workspace).close(); }
void viewToolbar(Workspace& workspace) { frame(workspace).mnuViewToolbar_Click(); }
void viewStatusBar(Workspace& workspace) { frame(workspace).mnuViewStatusBar_Click(); }
void cascade(Workspace& workspace) { frame(workspace).mnuWindowCascade_Click(); }
void tileHorizontal(Workspace& workspace) { frame(workspace).mnuWindowTileHorizontal_Click(); }
void tileVertical(Workspace& workspace) { frame(workspace).mnuWindowTileVertical_Click(); }
void arrangeIcons(Workspace& workspace) { frame(workspace).mnuWindowArrangeIcons_Click(); }

constexpr int Checkable = Command::Checkable;
constexpr int Checked = Command::Checkable | Command::Checked;
const QKeySequence none;

QList<CommandMenu> buildMenuBar()
{
    using namespace editing;
    return {
        {"mnuFile", "1000", {
            {"mnuFileItem", 0, "1001", Qt::CTRL | Qt::Key_N, "New", newDocument},
            {"mnuFileItem", 1, "1002", Qt::CTRL | Qt::Key_O, "Open", files::FileOpen},
            {"mnuFileItem", 2, "&Insert", none, nullptr, files::FileInsert},
            {"mnuFileItem", 3, "1003", none, nullptr, files::FileClose},
            {"mnuFileItem", 4},
            {"mnuFileItem", 5, "1004", Qt::CTRL | Qt::Key_S, "Save", files::FileSave},
            {"mnuFileItem", 6, "1005", none, nullptr, files::FileSaveAs},
            {"mnuFileItem", 7, "1006", none, nullptr, files::FileSaveAll},
            {"mnuFileItem", 8},
            {"mnuFileItem", 9, "Proper&ties", none, nullptr, files::FileProperties, files::hasFile},
            {"mnuFileItem", 10},
            {"mnuFileItem", 11, "1010", Qt::CTRL | Qt::Key_P, "Print", print::FilePrint},
            {"mnuFileItem", 12, "P&rint Setup", none, nullptr, files::FilePrintSetup},
            {"mnuFileItem", 13, "1008", none, nullptr, print::FilePageSetup},
            {"mnuFileItem", 14},
            {"mnuFileItem", 15, "1012", none, "Exit", exitProgram},
        }},
        {"mnuEdit", "1013", {
            {"mnuEditUndo", -1, "1014", Qt::CTRL | Qt::Key_Z, "Undo", mnuEditUndo_Click, canUndo},
            {"mnuClear", -1, "C&lear", Qt::Key_Delete, nullptr, mnuClear_Click, hasSelection},
            {"mnuEditBar1"},
            {"mnuEditCut", -1, "1015", Qt::CTRL | Qt::Key_X, "Cut", mnuEditCut_Click, hasSelection},
            {"mnuEditCopy", -1, "1016", Qt::CTRL | Qt::Key_Insert, "Copy", mnuEditCopy_Click, hasSelection},
            {"mnuEditPaste", -1, "1017", Qt::SHIFT | Qt::Key_Insert, "Paste", mnuEditPaste_Click, clipboardHasText},
            {"mnuAppend", -1, "Clipboard &Append", none, nullptr, mnuAppend_Click, canAppend},
            {"mnuDash"},
            {"mnuSelectAll", -1, "&Select All", Qt::CTRL | Qt::Key_A, nullptr, mnuSelectAll_Click},
            {"mnuClearAll", -1, "Clea&r All", none, nullptr, mnuClearAll_Click},
            {"mnuClean", 0},
            {"mnuClean", 1, "Cl&ean", none, nullptr, mnuClean_Click, hasText},
            {"mnuClean", 2},
            {"mnuTime", -1, "&Time/Date", Qt::Key_F5, nullptr, mnuTime_Click},
        }},
        {"mnuSearch", "&Search", {
            {"mnuFind", 0, "&Find...", Qt::CTRL | Qt::Key_F, "Find", search::findCommand, hasText},
            {"mnuFind", 1, "Find Nex&t", Qt::Key_F3, nullptr, search::findNextCommand, hasText},
            {"mnuFind", 2, "&Replace...", Qt::CTRL | Qt::Key_H, nullptr, search::replaceCommand, hasText},
            {"mnuFind", 3, "Replace &Next", Qt::Key_F4, nullptr, search::replaceNextCommand, hasText},
            {"mnuFind", 4},
            {"mnuFind", 5, "&Go To Line...", Qt::CTRL | Qt::Key_G, nullptr, search::goToLineCommand, hasText},
            {"mnuFind", 6},
            {"mnuFind", 7, "&Word Count", none, nullptr, search::wordCountCommand, hasText},
            {"mnuFind", 8, "&Character Count", none, nullptr, search::characterCountCommand, hasText},
        }},
        {"mnuOption", "&Options", {
            {"mnuViewToolbar", -1, "1020", none, nullptr, viewToolbar, nullptr, Checked},
            {"mnuViewStatusBar", -1, "1021", none, nullptr, viewStatusBar, nullptr, Checked},
            {"mnuOptionBar1"},
            {"mnuFont", -1, "&Font", none, "Font", format::mnuFont_Click},
            {"mnuColor", -1, "&Color", none, nullptr, format::mnuColor_Click},
            {"mnuColorPrint", 0, "Color &Print", none, nullptr, format::mnuColorPrint_Click, nullptr, Checkable},
            {"mnuColorPrint", 1},
            {"mnuTab", -1, "Tab &Set", none, nullptr, format::mnuTab_Click},
            {"mnuWrap", -1, "&Word Wrap", none, nullptr, format::mnuWrap_Click, nullptr, Checked},
            {"mnuExtensions", 0},
            {"mnuExtensions", 1, "File &Extensions", none, nullptr, files::mnuExtensions_Click},
        }},
        {"mnuWindow", "1024", {
            {"mnuWindowNewWindow", -1, "1025", none, nullptr, newDocument},
            {"mnuWindowBar1"},
            {"mnuWindowCascade", -1, "1026", none, nullptr, cascade},
            {"mnuWindowTileHorizontal", -1, "1027", none, nullptr, tileHorizontal},
            {"mnuWindowTileVertical", -1, "1028", none, nullptr, tileVertical},
            {"mnuWindowArrangeIcons", -1, "1029", none, nullptr, arrangeIcons},
        }},
        {"mnuHelp", "1030", {
            {"mnuHelpContents", -1, "1031", Qt::Key_F1, "Help", help::mnuHelpContents_Click},
            {"mnuHelpSearch", -1, "1032", none, nullptr, help::mnuHelpSearch_Click},
            {"mnuWeb", 0},
            {"mnuWeb", 1, "&On-Line Support", none, nullptr, help::mnuWeb_Click},
            {"mnuHelpBar1"},
            {"mnuHelpAbout", -1, "&About Pagewell", none, nullptr, help::mnuHelpAbout_Click},
        }},
    };
}

// Never in the menu bar: the document windows pop it up on a right click.
CommandMenu buildContextMenu()
{
    using namespace editing;
    return {"mnuCEdit", "CEdit", {
        {"mnuCEditItem", 0, "&Undo", none, nullptr, mnuEditUndo_Click, canUndo},
        {"mnuCEditItem", 1, "Cle&ar", none, nullptr, mnuClear_Click, hasSelection},
        {"mnuCEditItem", 2},
        {"mnuCEditItem", 3, "Cu&t", none, nullptr, mnuEditCut_Click, hasSelection},
        {"mnuCEditItem", 4, "&Copy", none, nullptr, mnuEditCopy_Click, hasSelection},
        {"mnuCEditItem", 5, "&Paste", none, nullptr, mnuEditPaste_Click, clipboardHasText},
        {"mnuCEditItem", 6, "Clipboard Appe&nd", none, nullptr, mnuAppend_Click, canAppend},
        {"mnuCEditItem", 7},
        {"mnuCEditItem", 8, "Se&lect All", none, nullptr, mnuSelectAll_Click},
        {"mnuCEditItem", 9, "Cl&ear All", none, nullptr, mnuClearAll_Click},
        {"mnuCEditItem", 10},
        {"mnuCEditItem", 11, "&Clean", none, nullptr, mnuClean_Click, hasText},
    }};
}

}  // namespace

QString Command::objectName() const
{
    const QString name = QString::fromLatin1(control);
    return index < 0 ? name : name + u'_' + QString::number(index);
}

const QList<CommandMenu>& menuBarCommands()
{
    static const QList<CommandMenu> menus = buildMenuBar();
    return menus;
}

const CommandMenu& contextMenuCommands()
{
    static const CommandMenu menu = buildContextMenu();
    return menu;
}

const CommandMenu& commandMenu(const QString& name)
{
    for (const CommandMenu& menu : menuBarCommands()) {
        if (QLatin1String(menu.name) == name)
            return menu;
    }
    return contextMenuCommands();
}

const Command* findCommand(const QString& control, int index)
{
    const auto in = [&](const CommandMenu& menu) -> const Command* {
        for (const Command& command : menu.items) {
            if (command.index == index && QLatin1String(command.control) == control)
                return &command;
        }
        return nullptr;
    };
    for (const CommandMenu& menu : menuBarCommands()) {
        if (const Command* command = in(menu))
            return command;
    }
    return in(contextMenuCommands());
}

const Command* findToolbarCommand(const QString& key)
{
    for (const CommandMenu& menu : menuBarCommands()) {
        for (const Command& command : menu.items) {
            if (command.toolbarKey && QLatin1String(command.toolbarKey) == key)
                return &command;
        }
    }
    return nullptr;
}
