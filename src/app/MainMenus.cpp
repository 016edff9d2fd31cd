// frmMain's menus, built from the command table, and the recent files.
#include "app/frmMain.h"

#include "app/CommandTable.h"
#include "core/Settings.h"
#include "document/LoadProgress.h"
#include "document/frmDocument.h"
#include "files/FileCommands.h"
#include "files/OutsideChanges.h"
#include "files/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

void frmMain::createMenus()
{
    QMenu** menus[] = {&mnuFile, &mnuEdit, &mnuSearch, &mnuOption, &mnuWindow, &mnuHelp};
    int next = 0;
    for (const CommandMenu& commands : menuBarCommands())
        *menus[next++] = createMenu(commands, menuBar()->addMenu(QString()));
    mnuCEdit = createMenu(contextMenuCommands(), new QMenu(this));
    mnuCEdit->setDefaultAction(item(QStringLiteral("mnuCEditItem"), 8));

    mnuFileArray << mnuFile->addSeparator();
    mnuFileArray[0]->setObjectName(QStringLiteral("mnuFileArray_0"));
    mnuFileArray[0]->setVisible(false);
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::rebuildWindowList);
}

// Numeric captions are string-table ids that ApplyResourceCaptions replaces.
QMenu* frmMain::createMenu(const CommandMenu& commands, QMenu* menu)
{
    menu->setTitle(QString::fromLatin1(commands.caption));
    menu->setObjectName(QString::fromLatin1(commands.name));
    for (const Command& command : commands.items) {
        QAction* action = command.isSeparator() ? menu->addSeparator()
                                                : menu->addAction(QString::fromLatin1(command.caption));
        action->setObjectName(command.objectName());
        action->setShortcut(command.shortcut);
        action->setCheckable(command.flags & Command::Checkable);
        action->setChecked(command.flags & Command::Checked);
        // A checkable item's handler inverts its mark itself, as it does
        // when a test or another command calls it.
        if (command.handler)
            connect(action, &QAction::triggered, this, [this, action, row = &command] {
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                run(row);
            });
        m_items.insert(action->objectName(), action);
    }
    if (std::any_of(commands.items.begin(), commands.items.end(), [](const Command& c) { return c.enabled; }))
        connect(menu, &QMenu::aboutToShow, this, [this, &commands] { refreshMenu(commands); });
    return menu;
}

void frmMain::run(const Command* command)
{
    if (command && command->handler)
        command->handler(*this);
}

// Enabled states are decided when a menu opens and stay until it opens
// again; a shortcut of a disabled item reaches the text as ordinary input.
void frmMain::refreshMenu(const CommandMenu& commands)
{
    for (const Command& command : commands.items) {
        if (command.enabled)
            item(QString::fromLatin1(command.control), command.index)->setEnabled(command.enabled(*this));
    }
}

QAction* frmMain::item(const QString& control, int index) const
{
    return m_items.value(index < 0 ? control : control + u'_' + QString::number(index));
}

void frmMain::mnuFileItem_Click(int index) { run(findCommand(QStringLiteral("mnuFileItem"), index)); }
void frmMain::mnuFind_Click(int index) { run(findCommand(QStringLiteral("mnuFind"), index)); }
void frmMain::mnuCEditItem_Click(int index) { run(findCommand(QStringLiteral("mnuCEditItem"), index)); }
void frmMain::mnuClean_Click(int index) { run(findCommand(QStringLiteral("mnuClean"), index)); }
// Whatever index it is given, the handler inverts item 0.
void frmMain::mnuColorPrint_Click(int) { run(findCommand(QStringLiteral("mnuColorPrint"), 0)); }
void frmMain::mnuWeb_Click(int index) { run(findCommand(QStringLiteral("mnuWeb"), index)); }
void frmMain::mnuExtensions_Click(int index) { run(findCommand(QStringLiteral("mnuExtensions"), index)); }

void frmMain::mnuFile_Click() { refreshMenu(commandMenu(QStringLiteral("mnuFile"))); }
void frmMain::mnuEdit_Click() { refreshMenu(commandMenu(QStringLiteral("mnuEdit"))); }
void frmMain::mnuSearch_Click() { refreshMenu(commandMenu(QStringLiteral("mnuSearch"))); }
void frmMain::mnuCEdit_Click() { refreshMenu(commandMenu(QStringLiteral("mnuCEdit"))); }

void frmMain::popupContextMenu(const QPoint& globalPos) { mnuCEdit->popup(globalPos); }

bool frmMain::ownsShortcut(const QKeySequence& key) const
{
    for (const QAction* action : findChildren<QAction*>()) {
        if (action->isEnabled() && action->shortcut() == key && action->shortcutContext() != Qt::WidgetShortcut)
            return true;
    }
    return false;
}

bool frmMain::wordWrap() const { return item(QStringLiteral("mnuWrap"))->isChecked(); }
void frmMain::setWordWrap(bool on) { item(QStringLiteral("mnuWrap"))->setChecked(on); }
bool frmMain::colorPrint() const { return item(QStringLiteral("mnuColorPrint"), 0)->isChecked(); }
void frmMain::setColorPrint(bool on) { item(QStringLiteral("mnuColorPrint"), 0)->setChecked(on); }

void frmMain::mnuViewToolbar_Click()
{
    QAction* view = item(QStringLiteral("mnuViewToolbar"));
    view->setChecked(!view->isChecked());
    tbToolBar->setVisible(view->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    QAction* view = item(QStringLiteral("mnuViewStatusBar"));
    view->setChecked(!view->isChecked());
    sbStatusBar->setVisible(view->isChecked());
}

// A file another program changed is reported when its window comes back to
// the front, once the activation is over; not over another dialog, nor while
// a load or a command that edits the text step by step is under way.
void frmMain::watchOutsideChanges()
{
    const auto checkActiveFile = [this] {
        QMetaObject::invokeMethod(this, [this] {
            if (frmDocument* document = ActiveDocument(); document && !QApplication::activeModalWidget()
                && !LoadProgress::anyRunning())
                noticeOutsideChange(document);
        }, Qt::QueuedConnection);
    };
    connect(mdiArea, &QMdiArea::subWindowActivated, this, checkActiveFile);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [checkActiveFile](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            checkActiveFile();
    });
}

// ---- recent files ----------------------------------------------------------

void frmMain::buildRecentFileItems()
{
    for (int k = int(mnuFileArray.size()) - 1; k >= 1; --k) {
        delete mnuFileArray[k];
        mnuFileArray.removeAt(k);
    }
    RecentEntries stored;
    for (int k = 1; k <= 4; ++k)
        stored[size_t(k - 1)] = GetSetting(AppTitle, RecentFilesSection, recentFileKey(k));
    mnuFileArray[0]->setVisible(!stored[0].isEmpty());
    for (int k = 1; k <= 4; ++k) {
        mnuFileArray << nullptr;
        if (stored[size_t(k - 1)].isEmpty())
            continue;
        QAction* item = mnuFile->addAction(recentFileCaption(k, stored[size_t(k - 1)]));
        item->setObjectName(QStringLiteral("mnuFileArray_%1").arg(k));
        connect(item, &QAction::triggered, this, [this, k] { mnuFileArray_Click(k); });
        mnuFileArray[k] = item;
    }
}

void frmMain::UpdateRecentFiles(frmDocument* document)
{
    if (!document)
        return;
    RecentEntries shown;
    for (int k = 1; k < mnuFileArray.size() && k <= 4; ++k) {
        if (mnuFileArray[k])
            shown[size_t(k - 1)] = pathFromRecentCaption(mnuFileArray[k]->text());
    }
    const QString path = document->windowTitle();
    // One lock around reading and writing the four keys, so that another
    // copy recording its file at the same moment does not drop this one.
    UpdateSettings(AppTitle, [&](SettingsStore::Transaction& settings) {
        updateRecentEntries(settings, shown, path);
    });
    buildRecentFileItems();
}

void frmMain::mnuFileArray_Click(int index)
{
    if (index >= 1 && index < mnuFileArray.size() && mnuFileArray[index])
        files::openRecentFile(*this, pathFromRecentCaption(mnuFileArray[index]->text()));
}
