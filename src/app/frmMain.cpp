#include "app/frmMain.h"

#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "app/ResourceCaptions.h"
#include "core/Settings.h"
#include "app/StatusLine.h"
#include "core/Units.h"
#include "app/WindowArrangement.h"
#include "app/CustomizeToolbarDialog.h"
#include "core/ToolbarIcons.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "core/Clipboard.h"
#include "files/DocumentRecovery.h"
#include "print/PageSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <limits>

namespace {

frmMain* theMainWindow = nullptr;

const QString Settings = QStringLiteral("Settings");

QAction* addItem(QMenu* menu, const QString& caption, const QString& name,
                 const QKeySequence& shortcut = QKeySequence())
{
    QAction* action = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}


}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    theMainWindow = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppTitle);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("accessories-text-editor"),
                                   style()->standardIcon(QStyle::SP_FileIcon)));
    mdiArea = new QMdiArea(this);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);
    createMenus();
    createToolbar();
    createStatusBar();
    Timer1 = new QTimer(this);
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

frmMain::~frmMain()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

frmMain* frmMain::instance() { return theMainWindow; }

// ---- menus -----------------------------------------------------------------

void frmMain::createMenus()
{
    createFileMenu();
    createEditMenu();
    createSearchMenu();
    createOptionsMenu();
    createWindowMenu();
    createHelpMenu();
    createContextMenu();
}

void frmMain::createFileMenu()
{
    // Numeric captions are string-table ids that ApplyResourceCaptions replaces.
    mnuFile = menuBar()->addMenu(QStringLiteral("1000"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const struct { const char* caption; QKeySequence shortcut; } items[16] = {
        {"1001", QKeySequence(Qt::CTRL | Qt::Key_N)}, {"1002", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"&Insert", {}}, {"1003", {}}, {"-", {}},
        {"1004", QKeySequence(Qt::CTRL | Qt::Key_S)}, {"1005", {}}, {"1006", {}}, {"-", {}},
        {"Proper&ties", {}}, {"-", {}}, {"1010", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"P&rint Setup", {}}, {"1008", {}}, {"-", {}}, {"1012", {}},
    };
    for (int i = 0; i < 16; ++i) {
        mnuFileItem[i] = addItem(mnuFile, QString::fromLatin1(items[i].caption),
                                 QStringLiteral("mnuFileItem_%1").arg(i), items[i].shortcut);
        connect(mnuFileItem[i], &QAction::triggered, this, [this, i] { mnuFileItem_Click(i); });
    }
    mnuFileArray << addItem(mnuFile, QStringLiteral("-"), QStringLiteral("mnuFileArray_0"));
    mnuFileArray[0]->setVisible(false);
    connectFileCommands();
}

void frmMain::createEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("1013"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditUndo = addItem(mnuEdit, QStringLiteral("1014"), QStringLiteral("mnuEditUndo"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuClear = addItem(mnuEdit, QStringLiteral("C&lear"), QStringLiteral("mnuClear"),
                       QKeySequence(Qt::Key_Delete));
    addItem(mnuEdit, QStringLiteral("-"), QStringLiteral("mnuEditBar1"));
    mnuEditCut = addItem(mnuEdit, QStringLiteral("1015"), QStringLiteral("mnuEditCut"),
                         QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy = addItem(mnuEdit, QStringLiteral("1016"), QStringLiteral("mnuEditCopy"),
                          QKeySequence(Qt::CTRL | Qt::Key_Insert));
    mnuEditPaste = addItem(mnuEdit, QStringLiteral("1017"), QStringLiteral("mnuEditPaste"),
                           QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    mnuAppend = addItem(mnuEdit, QStringLiteral("Clipboard &Append"), QStringLiteral("mnuAppend"));
    addItem(mnuEdit, QStringLiteral("-"), QStringLiteral("mnuDash"));
    mnuSelectAll = addItem(mnuEdit, QStringLiteral("&Select All"), QStringLiteral("mnuSelectAll"),
                           QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuClearAll = addItem(mnuEdit, QStringLiteral("Clea&r All"), QStringLiteral("mnuClearAll"));
    mnuClean[0] = addItem(mnuEdit, QStringLiteral("-"), QStringLiteral("mnuClean_0"));
    mnuClean[1] = addItem(mnuEdit, QStringLiteral("Cl&ean"), QStringLiteral("mnuClean_1"));
    mnuClean[2] = addItem(mnuEdit, QStringLiteral("-"), QStringLiteral("mnuClean_2"));
    mnuTime = addItem(mnuEdit, QStringLiteral("&Time/Date"), QStringLiteral("mnuTime"),
                      QKeySequence(Qt::Key_F5));
    connect(mnuClean[1], &QAction::triggered, this, [this] { mnuClean_Click(1); });
    connect(mnuTime, &QAction::triggered, this, &frmMain::mnuTime_Click);
}

void frmMain::createSearchMenu()
{
    mnuSearch = menuBar()->addMenu(QStringLiteral("&Search"));
    mnuSearch->setObjectName(QStringLiteral("mnuSearch"));
    const struct { const char* caption; QKeySequence shortcut; } items[9] = {
        {"&Find...", QKeySequence(Qt::CTRL | Qt::Key_F)}, {"Find Nex&t", QKeySequence(Qt::Key_F3)},
        {"&Replace...", QKeySequence(Qt::CTRL | Qt::Key_H)}, {"Replace &Next", QKeySequence(Qt::Key_F4)},
        {"-", {}}, {"&Go To Line...", QKeySequence(Qt::CTRL | Qt::Key_G)}, {"-", {}},
        {"&Word Count", {}}, {"&Character Count", {}},
    };
    for (int i = 0; i < 9; ++i) {
        mnuFind[i] = addItem(mnuSearch, QString::fromLatin1(items[i].caption),
                             QStringLiteral("mnuFind_%1").arg(i), items[i].shortcut);
        connect(mnuFind[i], &QAction::triggered, this, [this, i] { mnuFind_Click(i); });
    }
    connect(mnuSearch, &QMenu::aboutToShow, this, &frmMain::mnuSearch_Click);
}

void frmMain::createOptionsMenu()
{
    mnuOption = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOption->setObjectName(QStringLiteral("mnuOption"));
    mnuViewToolbar = addItem(mnuOption, QStringLiteral("1020"), QStringLiteral("mnuViewToolbar"));
    mnuViewStatusBar = addItem(mnuOption, QStringLiteral("1021"), QStringLiteral("mnuViewStatusBar"));
    addItem(mnuOption, QStringLiteral("-"), QStringLiteral("mnuOptionBar1"));
    mnuFont = addItem(mnuOption, QStringLiteral("&Font"), QStringLiteral("mnuFont"));
    mnuColor = addItem(mnuOption, QStringLiteral("&Color"), QStringLiteral("mnuColor"));
    mnuColorPrint[0] = addItem(mnuOption, QStringLiteral("Color &Print"), QStringLiteral("mnuColorPrint_0"));
    mnuColorPrint[1] = addItem(mnuOption, QStringLiteral("-"), QStringLiteral("mnuColorPrint_1"));
    mnuTab = addItem(mnuOption, QStringLiteral("Tab &Set"), QStringLiteral("mnuTab"));
    mnuWrap = addItem(mnuOption, QStringLiteral("&Word Wrap"), QStringLiteral("mnuWrap"));
    mnuExtensions[0] = addItem(mnuOption, QStringLiteral("-"), QStringLiteral("mnuExtensions_0"));
    mnuExtensions[1] = addItem(mnuOption, QStringLiteral("File &Extensions"), QStringLiteral("mnuExtensions_1"));
    connect(mnuExtensions[1], &QAction::triggered, this, [this] { mnuExtensions_Click(1); });
    for (QAction* checkable : {mnuViewToolbar, mnuViewStatusBar, mnuColorPrint[0], mnuWrap}) {
        checkable->setCheckable(true);
        checkable->setChecked(checkable != mnuColorPrint[0]);
    }
    connect(mnuViewToolbar, &QAction::triggered, this, &frmMain::mnuViewToolbar_Click);
    connect(mnuViewStatusBar, &QAction::triggered, this, &frmMain::mnuViewStatusBar_Click);
    connect(mnuWrap, &QAction::triggered, this, &frmMain::mnuWrap_Click);
    connect(mnuFont, &QAction::triggered, this, &frmMain::mnuFont_Click);
    connect(mnuColor, &QAction::triggered, this, &frmMain::mnuColor_Click);
    connect(mnuColorPrint[0], &QAction::triggered, this, [this] { mnuColorPrint_Click(0); });
    connect(mnuTab, &QAction::triggered, this, &frmMain::mnuTab_Click);
}

void frmMain::createWindowMenu()
{
    mnuWindow = menuBar()->addMenu(QStringLiteral("1024"));
    mnuWindow->setObjectName(QStringLiteral("mnuWindow"));
    mnuWindowNewWindow = addItem(mnuWindow, QStringLiteral("1025"), QStringLiteral("mnuWindowNewWindow"));
    addItem(mnuWindow, QStringLiteral("-"), QStringLiteral("mnuWindowBar1"));
    mnuWindowCascade = addItem(mnuWindow, QStringLiteral("1026"), QStringLiteral("mnuWindowCascade"));
    mnuWindowTileHorizontal = addItem(mnuWindow, QStringLiteral("1027"), QStringLiteral("mnuWindowTileHorizontal"));
    mnuWindowTileVertical = addItem(mnuWindow, QStringLiteral("1028"), QStringLiteral("mnuWindowTileVertical"));
    mnuWindowArrangeIcons = addItem(mnuWindow, QStringLiteral("1029"), QStringLiteral("mnuWindowArrangeIcons"));
    connect(mnuWindowNewWindow, &QAction::triggered, this, &frmMain::mnuWindowNewWindow_Click);
    connect(mnuWindowCascade, &QAction::triggered, this, &frmMain::mnuWindowCascade_Click);
    connect(mnuWindowTileHorizontal, &QAction::triggered, this, &frmMain::mnuWindowTileHorizontal_Click);
    connect(mnuWindowTileVertical, &QAction::triggered, this, &frmMain::mnuWindowTileVertical_Click);
    connect(mnuWindowArrangeIcons, &QAction::triggered, this, &frmMain::mnuWindowArrangeIcons_Click);
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::rebuildWindowList);
}

void frmMain::createHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("1030"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = addItem(mnuHelp, QStringLiteral("1031"), QStringLiteral("mnuHelpContents"));
    mnuHelpSearch = addItem(mnuHelp, QStringLiteral("1032"), QStringLiteral("mnuHelpSearch"));
    mnuWeb[0] = addItem(mnuHelp, QStringLiteral("-"), QStringLiteral("mnuWeb_0"));
    mnuWeb[1] = addItem(mnuHelp, QStringLiteral("&On-Line Support"), QStringLiteral("mnuWeb_1"));
    addItem(mnuHelp, QStringLiteral("-"), QStringLiteral("mnuHelpBar1"));
    mnuHelpAbout = addItem(mnuHelp, QStringLiteral("&About Pagewell"), QStringLiteral("mnuHelpAbout"));
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpSearch, &QAction::triggered, this, &frmMain::mnuHelpSearch_Click);
    connect(mnuWeb[1], &QAction::triggered, this, [this] { mnuWeb_Click(1); });
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    mnuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
}

void frmMain::createContextMenu()
{
    // Never in the menu bar: the document windows pop it up on a right click.
    mnuCEdit = new QMenu(QStringLiteral("CEdit"), this);
    mnuCEdit->setObjectName(QStringLiteral("mnuCEdit"));
    const char* captions[12] = {"&Undo", "Cle&ar", "-", "Cu&t", "&Copy", "&Paste",
                                "Clipboard Appe&nd", "-", "Se&lect All", "Cl&ear All", "-", "&Clean"};
    for (int i = 0; i < 12; ++i) {
        mnuCEditItem[i] = addItem(mnuCEdit, QString::fromLatin1(captions[i]),
                                  QStringLiteral("mnuCEditItem_%1").arg(i));
    }
    mnuCEdit->setDefaultAction(mnuCEditItem[8]);
    connectEditCommands();
}

void frmMain::popupContextMenu(const QPoint& globalPos) { mnuCEdit->popup(globalPos); }

// ---- toolbar and status bar ------------------------------------------------

void frmMain::createToolbar()
{
    tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->toggleViewAction()->setVisible(false);
    // Tooltips given as numbers are string-table ids.
    const QHash<QString, QString> tooltips{
        {"New", "1034"}, {"Open", "1035"}, {"Save", "1036"}, {"Print", "1037"},
        {"Cut", "1038"}, {"Copy", "1039"}, {"Paste", "1040"},
    };
    for (const QString& key : ToolbarLayout::buttonKeys()) {
        auto* action = new QAction(toolbarIcon(ToolbarLayout::imageNumber(key)), key, this);
        action->setObjectName(QStringLiteral("tb") + key);
        action->setProperty("Key", key);
        action->setToolTip(tooltips.value(key, key));
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        m_toolbarButtons.insert(key, action);
    }
    applyToolbarLayout(ToolbarLayout::standard());

    tbToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tbToolBar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(tr("&Customize Toolbar..."), this, &frmMain::customizeToolbar);
        menu.exec(tbToolBar->mapToGlobal(at));
    });
    tbToolBar->installEventFilter(this);
}

void frmMain::applyToolbarLayout(const ToolbarLayout& layout)
{
    for (QAction* action : tbToolBar->actions()) {
        tbToolBar->removeAction(action);
        if (action->isSeparator())
            delete action;
    }
    for (const QString& entry : layout.entries()) {
        if (entry == ToolbarLayout::Separator)
            tbToolBar->addSeparator();
        else
            tbToolBar->addAction(m_toolbarButtons.value(entry));
    }
    m_toolbarLayout = layout;
}

void frmMain::customizeToolbar()
{
    CustomizeToolbarDialog dialog(m_toolbarLayout, this);
    connect(&dialog, &CustomizeToolbarDialog::layoutChanged, this, [this](const ToolbarLayout& layout) {
        applyToolbarLayout(layout);
        tbToolBar_Change();
    });
    dialog.exec();
    focusActiveText();
}

void frmMain::tbToolBar_Change()
{
    SaveSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar"), m_toolbarLayout.toText());
}

void frmMain::restoreToolbarLayout()
{
    const QString saved = GetSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar"));
    if (const std::optional<ToolbarLayout> layout = ToolbarLayout::parse(saved))
        applyToolbarLayout(*layout);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tbToolBar && event->type() == QEvent::MouseButtonDblClick) {
        customizeToolbar();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QList<QAction*> frmMain::toolbarPositions() const
{
    QList<QAction*> positions{nullptr};
    positions << tbToolBar->actions();
    return positions;
}

void frmMain::createStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(true);
    const int minimumTwips[3] = {1440, 3000, 1440};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        panel->setMinimumWidth(units::twipsToPixelsX(minimumTwips[i]));
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        sbStatusBar->addPermanentWidget(panel, i == 1 ? 1 : 0);
        m_panels << panel;
    }
    m_panels[0]->setText(QStringLiteral("Status"));
}

QString frmMain::panelText(int panel) const
{
    return (panel >= 1 && panel <= m_panels.size()) ? m_panels[panel - 1]->text() : QString();
}

void frmMain::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= m_panels.size())
        m_panels[panel - 1]->setText(text);
}

void frmMain::UpdateStatusLine()
{
    int line = 0;
    int column = 0;
    QString lineCount;
    RichTextBox* text = nullptr;
    if (frmDocument* document = ActiveDocument())
        text = document->txtText;
    const int selStart = text ? text->SelStart() : 0;
    if (text)
        line = text->LineFromChar(-1);
    line += 1;
    const int lineStart = text ? text->LineIndex(-1) : 0;
    column = selStart - lineStart + 1;
    if (text)
        lineCount = QString::number(text->LineCount());
    setPanelText(2, statusLineText(line, lineCount, column));
}

// Buttons are enabled by their position on the toolbar, whatever stands
// there after a customisation; a position that is gone is skipped.
void frmMain::enableToolbarButtons()
{
    const QList<QAction*> positions = toolbarPositions();
    const auto enable = [&positions](int position, bool on) {
        if (position < positions.size() && positions[position] && !positions[position]->isSeparator())
            positions[position]->setEnabled(on);
    };
    RichTextBox* text = ActiveDocument() ? ActiveDocument()->txtText : nullptr;
    const bool selected = text && text->SelLength() > 0;
    enable(14, text && text->TextLength() > 0);
    enable(8, selected);
    enable(9, selected);
    enable(12, text && text->SendMessage(RichTextBox::EM_CANUNDO, 0, 0) != 0);
    enable(10, Clipboard::GetFormat(Clipboard::vbCFText));
}

void frmMain::Timer1_Timer()
{
    UpdateStatusLine();
    const QString today = statusDateText(QDate::currentDate());
    if (panelText(3) != today) {
        setPanelText(3, today);
        // The date panel grows to show the whole date.
        QLabel* panel = m_panels[2];
        const int needed = panel->fontMetrics().horizontalAdvance(today) + 2 * panel->frameWidth() + 8;
        panel->setMinimumWidth(std::max(units::twipsToPixelsX(1440), needed));
    }
    enableToolbarButtons();
}

// ---- documents -------------------------------------------------------------

frmDocument* frmMain::NewDocument()
{
    if (DocumentCount == std::numeric_limits<qint32>::max()) {
        MsgBox(tr("Overflow"), vb::vbExclamation);
        return nullptr;
    }
    ++DocumentCount;
    auto* document = new frmDocument(this);
    document->Form_Load();
    document->setWindowTitle(QStringLiteral("Document ") + QString::number(DocumentCount));
    QMdiSubWindow* frame = mdiArea->addSubWindow(document);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowIcon(windowIcon());
    if (DocumentRecovery* recovery = DocumentRecovery::running())
        recovery->attach(document);
    placeDocumentFrame(frame);
    frame->show();
    mdiArea->setActiveSubWindow(frame);
    document->txtText->setFocus();
    return document;
}

// New windows take three quarters of the free area, each a title bar lower
// and to the right of the one before, as cascaded windows would.
void frmMain::placeDocumentFrame(QMdiSubWindow* frame)
{
    const QSize area = mdiArea->viewport()->size();
    if (!isVisible() || area.isEmpty()) {
        frame->setProperty("placeOnShow", true);
        return;
    }
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
    const int index = int(mdiArea->subWindowList().indexOf(frame));
    const int offset = (std::max(index, 0) % 8) * step;
    frame->setGeometry(offset, offset, area.width() * 3 / 4, area.height() * 3 / 4);
    frame->setProperty("placeOnShow", false);
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The area has its real size only once the window is laid out.
    QTimer::singleShot(0, this, [this] {
        for (QMdiSubWindow* frame : mdiArea->subWindowList()) {
            if (frame->property("placeOnShow").toBool())
                placeDocumentFrame(frame);
        }
    });
}

frmDocument* frmMain::ActiveDocument() const
{
    QMdiSubWindow* frame = mdiArea->currentSubWindow();
    return frame ? qobject_cast<frmDocument*>(frame->widget()) : nullptr;
}

QList<frmDocument*> frmMain::Documents() const
{
    QList<frmDocument*> documents;
    for (QMdiSubWindow* frame : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* document = qobject_cast<frmDocument*>(frame->widget()))
            documents << document;
    }
    return documents;
}

void frmMain::activateDocument(frmDocument* document)
{
    for (QMdiSubWindow* frame : mdiArea->subWindowList()) {
        if (frame->widget() == document) {
            if (frame->isMinimized())
                frame->showNormal();
            mdiArea->setActiveSubWindow(frame);
            frame->raise();
        }
    }
}

// ---- start-up and shut-down ------------------------------------------------

void frmMain::MDIForm_Load(const QString& commandLine)
{
    CurrentFile = commandLine;
    ApplyResourceCaptions(this);
    LoadPageSettings();
    restorePlacement();

    if (GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible")) == QLatin1String("No")) {
        mnuViewToolbar->setChecked(false);
        tbToolBar->hide();
    }
    if (GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("StatusBar")) == QLatin1String("No")) {
        mnuViewStatusBar->setChecked(false);
        sbStatusBar->hide();
    }
    buildRecentFileItems();

    frmDocument* document = NewDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    if (!commandLine.isEmpty())
        openCommandLineFile(document, commandLine);
    text->EmptyUndoBuffer();
    const QString fontSize = GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size"));
    if (!fontSize.isEmpty()) {
        QFont base = text->Font();
        if (const double points = storedFontSize(fontSize); points > 0)
            base.setPointSizeF(points);
        text->setFont(base);
        text->setSelColor(conv::leadingColour(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color"))));
    }
    text->SetRedraw(true);
    text->Refresh();
    document->setLabel1(QString());
    restoreToolbarLayout();
    // Menu states until the menus first open.
    mnuSearch_Click();
    mnuEdit_Click();
    mnuCEdit_Click();
    Timer1->start();
    Timer1_Timer();
}

void frmMain::openCommandLineFile(frmDocument* document, const QString& commandLine)
{
    RichTextBox* text = document->txtText;
    // A big file loads with the window already up, so its first screen shows
    // while the rest is still coming.
    if (QFileInfo(commandLine).size() > BigFileBytes)
        show();
    else
        text->SetRedraw(false);
    // A file that cannot be loaded leaves the document empty but captioned,
    // and a later save creates it there.
    if (!refusedAsNotRegular(commandLine))
        text->LoadFile(commandLine, RichTextBox::rtfText);
    document->setFilePath(QFileInfo(commandLine).absoluteFilePath());
    // The stored text colour goes to the whole text; the caret stays at the
    // start, so the text is not laid out down to its end for nothing.
    const QString color = GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color"));
    if (!color.isEmpty())
        text->setColorOfAll(conv::leadingColour(color));
    text->setSelStart(0);
    document->setTitle(commandLine.toUpper());
    document->setWindowTitle(commandLine.toUpper());
    UpdateRecentFiles(document);
}

void frmMain::restorePlacement()
{
    const auto read = [](const char* key, double fallback) {
        return units::placementTwips(
            GetSetting(AppTitle, Settings, QString::fromLatin1(key), QString::number(fallback)), fallback);
    };
    const int left = units::twipsToPixelsX(read("MainLeft", 1000));
    const int top = units::twipsToPixelsY(read("MainTop", 1000));
    const int width = std::max(100, units::twipsToPixelsX(read("MainWidth", 6500)));
    const int height = std::max(100, units::twipsToPixelsY(read("MainHeight", 6500)));
    QRect frame(left, top, width, height);
    // A placement stored on a screen that is gone would hide the window.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->virtualGeometry();
        if (!desktop.intersects(frame) && !desktop.isEmpty())
            frame.moveTopLeft(QPoint(units::twipsToPixelsX(1000), units::twipsToPixelsY(1000)));
    }
    move(frame.topLeft());
    resize(frame.size());
}

bool frmMain::queryUnloadAll()
{
    for (frmDocument* document : Documents()) {
        bool cancel = false;
        document->Form_QueryUnload(cancel);
        if (cancel)
            return false;
    }
    return true;
}

void frmMain::closeWithoutPrompts()
{
    m_noPrompts = true;
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!m_noPrompts && !queryUnloadAll()) {
        event->ignore();
        return;
    }
    for (frmDocument* document : Documents())
        document->unloadWithoutQuery();
    MDIForm_Unload();
    Timer1->stop();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    if (!isMinimized()) {
        const QRect frame = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
        const QPoint topLeft = isMaximized() || isFullScreen() ? frame.topLeft() : pos();
        SaveSetting(AppTitle, Settings, QStringLiteral("MainLeft"),
                    conv::decimalText(units::pixelsToTwipsX(topLeft.x())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainTop"),
                    conv::decimalText(units::pixelsToTwipsY(topLeft.y())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainWidth"),
                    conv::decimalText(units::pixelsToTwipsX(frame.width())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainHeight"),
                    conv::decimalText(units::pixelsToTwipsY(frame.height())));
    }
    SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible"),
                mnuViewToolbar->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No"));
    SaveSetting(AppTitle, QStringLiteral("WordWrap"), QStringLiteral("Wrap"),
                mnuWrap->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("StatusBar"),
                mnuViewStatusBar->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No"));
}

// ---- commands --------------------------------------------------------------

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    if (key == QLatin1String("New"))
        mnuFileItem_Click(0);
    else if (key == QLatin1String("Open"))
        mnuFileItem_Click(1);
    else if (key == QLatin1String("Save"))
        mnuFileItem_Click(5);
    else if (key == QLatin1String("Print"))
        mnuFileItem_Click(11);
    else if (key == QLatin1String("Cut"))
        mnuEditCut_Click();
    else if (key == QLatin1String("Copy"))
        mnuEditCopy_Click();
    else if (key == QLatin1String("Paste"))
        mnuEditPaste_Click();
    else if (key == QLatin1String("Undo"))
        mnuEditUndo_Click();
    else if (key == QLatin1String("Find"))
        mnuFind_Click(0);
    else if (key == QLatin1String("Font"))
        mnuFont_Click();
    else if (key == QLatin1String("Help"))
        mnuHelpContents_Click();
    else if (key == QLatin1String("Exit"))
        mnuFileItem_Click(15);
}

void frmMain::mnuViewToolbar_Click()
{
    // The action has already flipped its check mark; the toolbar follows it.
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click() { sbStatusBar->setVisible(mnuViewStatusBar->isChecked()); }

void frmMain::mnuWrap_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The action has already flipped its check mark.
    if (frmDocument* document = ActiveDocument()) {
        RichTextBox* text = document->txtText;
        if (mnuWrap->isChecked())
            text->setRightMargin(int(conv::roundHalfEven(0.95 * text->Width())));
        else
            text->setRightMargin(RichTextBox::NoWrapMargin);
    }
    QApplication::restoreOverrideCursor();
}

void frmMain::mnuWindowNewWindow_Click() { NewDocument(); }

void frmMain::mnuWindowCascade_Click() { mdiArea->cascadeSubWindows(); }

static QList<QMdiSubWindow*> tileableWindows(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isVisible() && !frame->isMinimized())
            windows << frame;
    }
    return windows;
}

void frmMain::mnuWindowTileHorizontal_Click()
{
    const QList<QMdiSubWindow*> windows = tileableWindows(mdiArea);
    const QList<QRect> rects = arrange::tileHorizontal(mdiArea->viewport()->rect(), int(windows.size()));
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(rects[i]);
    }
}

void frmMain::mnuWindowTileVertical_Click()
{
    const QList<QMdiSubWindow*> windows = tileableWindows(mdiArea);
    const QList<QRect> rects = arrange::tileVertical(mdiArea->viewport()->rect(), int(windows.size()));
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(rects[i]);
    }
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* frame : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isMinimized())
            icons << frame;
    }
    if (icons.isEmpty())
        return;
    const QSize iconSize = icons.first()->size();
    const QList<QPoint> points = arrange::iconPositions(mdiArea->viewport()->rect(), iconSize, int(icons.size()));
    for (int i = 0; i < icons.size(); ++i)
        icons[i]->move(points[i]);
}

void frmMain::rebuildWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> frames = mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (!frames.isEmpty())
        m_windowListActions << mnuWindow->addSeparator();
    int number = 0;
    for (QMdiSubWindow* frame : frames) {
        ++number;
        const QString caption = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QAction* action = mnuWindow->addAction(caption + frame->windowTitle());
        action->setCheckable(true);
        action->setChecked(frame == mdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, frame] {
            if (frame->isMinimized())
                frame->showNormal();
            mdiArea->setActiveSubWindow(frame);
        });
        m_windowListActions << action;
    }
}
