#pragma once
// The main window: a multiple-document frame with the menu bar, toolbar,
// status bar and timer. Every command works on its active document window.
#include "core/ToolbarLayout.h"
#include "core/Workspace.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
struct Command;
struct CommandMenu;

class frmMain : public QMainWindow, public Workspace {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one main window of this run.
    static frmMain* instance();

    // Load handler; commandLine is the whole command line after the program name.
    void MDIForm_Load(const QString& commandLine);
    // Every document's close check, as at Exit; false once one is cancelled.
    bool queryUnloadAll();
    // Ends the program as Exit does, but asks nothing (a signal to end).
    void closeWithoutPrompts();

    qint32 DocumentCount = 0;

    // Workspace
    QWidget* widget() override { return this; }
    frmDocument* ActiveDocument() const override;
    QList<frmDocument*> Documents() const override;
    frmDocument* NewDocument() override;
    void activateDocument(frmDocument* document) override;
    frmDocument* documentWithCaption(const QString& caption) const override;
    void focusActiveText() override;
    void openDroppedFiles(const QStringList& paths) override;
    void UpdateStatusLine() override;
    void UpdateRecentFiles(frmDocument* document) override;
    QString panelText(int panel) const override;
    void setPanelText(int panel, const QString& text) override;
    bool wordWrap() const override;
    void setWordWrap(bool on) override;
    bool colorPrint() const override;
    void setColorPrint(bool on) override;
    void popupContextMenu(const QPoint& globalPos) override;
    bool ownsShortcut(const QKeySequence& key) const override;
    CloseSave saveForClose(frmDocument& document) override;

    // A menu item by its name, and its index for a control array.
    QAction* item(const QString& control, int index = -1) const;

    // The control arrays' handlers: each runs its item's row of the command table.
    void mnuFileItem_Click(int index);
    void mnuFind_Click(int index);
    void mnuCEditItem_Click(int index);
    void mnuClean_Click(int index);
    void mnuColorPrint_Click(int index);
    void mnuWeb_Click(int index);
    void mnuExtensions_Click(int index);
    void mnuFileArray_Click(int index);  // a recent file
    void tbToolBar_ButtonClick(const QString& key);

    // A menu opens: its items' enabled states are decided now.
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuSearch_Click();
    void mnuCEdit_Click();

    void Timer1_Timer();
    void tbToolBar_Change();  // the user changed the toolbar: save its layout
    void customizeToolbar();
    void applyToolbarLayout(const ToolbarLayout& layout);
    ToolbarLayout toolbarLayout() const { return m_toolbarLayout; }
    // Toolbar positions 1..21 (index 0 unused).
    QList<QAction*> toolbarPositions() const;

    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();

    QMdiArea* mdiArea = nullptr;
    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    QTimer* Timer1 = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuSearch = nullptr;
    QMenu* mnuOption = nullptr;
    QMenu* mnuWindow = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mnuCEdit = nullptr;
    QList<QAction*> mnuFileArray;  // 0 is the separator; 1..4 the recent files

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenus();
    QMenu* createMenu(const CommandMenu& commands, QMenu* menu);
    void run(const Command* command);
    void refreshMenu(const CommandMenu& commands);
    void watchOutsideChanges();
    void createToolbar();
    void createStatusBar();
    void rebuildWindowList();
    void enableToolbarButtons();
    void restoreToolbarLayout();
    void placeDocumentFrame(QMdiSubWindow* frame);
    void restorePlacement();
    void savePlacement();
    void buildRecentFileItems();
    static constexpr qint64 BigFileBytes = 8 << 20;
    void openCommandLineFile(frmDocument* document, const QString& commandLine);
    void MDIForm_Unload();

    QHash<QString, QAction*> m_items;  // by object name
    QList<QLabel*> m_panels;
    QHash<QString, QAction*> m_toolbarButtons;  // by key, on the bar or not
    ToolbarLayout m_toolbarLayout = ToolbarLayout::standard();
    QList<QAction*> m_windowListActions;
    bool m_noPrompts = false;
};
