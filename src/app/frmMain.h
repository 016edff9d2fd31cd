#pragma once
// The main window: a multiple-document frame with the menu bar, toolbar,
// status bar and timer. Every command works on its active document window.
#include "core/ToolbarLayout.h"
#include "core/CommonDialog.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <array>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class frmDocument;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one main window of this run.
    static frmMain* instance();

    // Load handler; commandLine is the whole command line after the program name.
    void MDIForm_Load(const QString& commandLine);

    frmDocument* NewDocument();
    // Every document's close check, as at Exit; false once one is cancelled.
    bool queryUnloadAll();
    // Ends the program as Exit does, but asks nothing (a signal to end).
    void closeWithoutPrompts();
    frmDocument* ActiveDocument() const;
    QList<frmDocument*> Documents() const;  // in the order they were loaded
    void activateDocument(frmDocument* document);

    QString CurrentFile;
    qint32 DocumentCount = 0;
    CommonDialog dlgCommonDialog{this};

    // Status bar panels, numbered from 1.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    void UpdateStatusLine();
    void Timer1_Timer();

    // File menu dispatcher by index.
    void mnuFileItem_Click(int index);
    void tbToolBar_ButtonClick(const QString& key);
    void tbToolBar_Change();  // the user changed the toolbar: save its layout
    void customizeToolbar();
    void applyToolbarLayout(const ToolbarLayout& layout);
    ToolbarLayout toolbarLayout() const { return m_toolbarLayout; }
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuWrap_Click();
    // Font, Color, Color Print and Tab Set (defined with the formatting commands).
    void mnuFont_Click();
    void mnuColor_Click();
    void mnuColorPrint_Click(int index);
    void mnuTab_Click();
    void mnuWindowNewWindow_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();

    void popupContextMenu(const QPoint& globalPos);

    // File menu (defined with the file commands).
    void mnuFile_Click();  // the menu opens
    void FileOpen();
    void FileInsert();
    void FileSave();
    void FileSaveAs();
    void FileSaveAll();
    void FileProperties();
    void FilePrintSetup();
    void UpdateRecentFiles(frmDocument* document);
    void mnuFileArray_Click(int index);
    void mnuExtensions_Click(int index);
    // The window showing a file, by its caption (the upper-cased path).
    frmDocument* documentWithCaption(const QString& caption) const;

    // Print and Page Setup (defined with the printing commands).
    void FilePrint();
    void FilePageSetup();

    // Help menu (defined with the help commands).
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuWeb_Click(int index);
    void mnuHelpAbout_Click();

    // Search menu (defined with the search commands).
    void mnuSearch_Click();  // the menu opens
    void mnuFind_Click(int index);

    // Edit and context menus (defined with the editing commands).
    void mnuEdit_Click();
    void mnuCEdit_Click();
    void mnuCEditItem_Click(int index);
    void mnuEditUndo_Click();
    void mnuClear_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuAppend_Click();
    void mnuSelectAll_Click();
    void mnuClearAll_Click();
    void mnuClean_Click(int index);
    void mnuTime_Click();

    // Whether an enabled menu item owns this key, so that the text control
    // lets the item have it instead of handling the key itself.
    bool ownsShortcut(const QKeySequence& key) const;

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

    std::array<QAction*, 16> mnuFileItem{};
    QList<QAction*> mnuFileArray;  // 0 is the separator; 1..4 the recent files

    QAction* mnuEditUndo = nullptr;
    QAction* mnuClear = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuAppend = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuClearAll = nullptr;
    std::array<QAction*, 3> mnuClean{};
    QAction* mnuTime = nullptr;

    std::array<QAction*, 9> mnuFind{};

    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuFont = nullptr;
    QAction* mnuColor = nullptr;
    std::array<QAction*, 2> mnuColorPrint{};
    QAction* mnuTab = nullptr;
    QAction* mnuWrap = nullptr;
    std::array<QAction*, 2> mnuExtensions{};

    QAction* mnuWindowNewWindow = nullptr;
    QAction* mnuWindowCascade = nullptr;
    QAction* mnuWindowTileHorizontal = nullptr;
    QAction* mnuWindowTileVertical = nullptr;
    QAction* mnuWindowArrangeIcons = nullptr;

    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearch = nullptr;
    std::array<QAction*, 2> mnuWeb{};
    QAction* mnuHelpAbout = nullptr;

    std::array<QAction*, 12> mnuCEditItem{};

    // Toolbar positions 1..21 (index 0 unused).
    QList<QAction*> toolbarPositions() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void createSearchMenu();
    void createOptionsMenu();
    void createWindowMenu();
    void createHelpMenu();
    void createContextMenu();
    void connectEditCommands();
    void createToolbar();
    void createStatusBar();
    void rebuildWindowList();
    void enableToolbarButtons();
    void restoreToolbarLayout();
    void placeDocumentFrame(QMdiSubWindow* frame);
    void restorePlacement();
    void buildRecentFileItems();
    void connectFileCommands();
    void focusActiveText();
    void forgetCancelledLoad(frmDocument* document, bool reused);
    bool refusedAsNotRegular(const QString& path);
    static constexpr qint64 BigFileBytes = 8 << 20;
    bool chooseSavePath();
    bool saveUnderChosenName(frmDocument* document);
    void openCommandLineFile(frmDocument* document, const QString& commandLine);
    void MDIForm_Unload();

    QList<QLabel*> m_panels;
    QHash<QString, QAction*> m_toolbarButtons;  // by key, on the bar or not
    ToolbarLayout m_toolbarLayout = ToolbarLayout::standard();
    QList<QAction*> m_windowListActions;
    bool m_noPrompts = false;
};
