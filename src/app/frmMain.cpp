#include "app/frmMain.h"

#include "app/QtCommonDialogs.h"
#include "app/WindowArrangement.h"
#include "app/ResourceCaptions.h"
#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "core/ProgramIcon.h"
#include "core/Settings.h"
#include "document/DroppedFiles.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "files/DocumentRecovery.h"
#include "files/DocumentSaving.h"
#include "files/FileCommands.h"
#include "print/PageSettings.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <limits>

namespace {
frmMain* theMainWindow = nullptr;
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), Workspace(this)
{
    theMainWindow = this;
    installQtCommonDialogs();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppTitle);
    setWindowIcon(programIcon());
    mdiArea = new QMdiArea(this);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);
    setAcceptDrops(true);  // files dropped anywhere on the window open
    createMenus();
    createToolbar();
    createStatusBar();
    watchOutsideChanges();
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
    frame->setGeometry(arrange::cascadeSlot(QRect(QPoint(0, 0), area), QSize(area.width() * 3 / 4, area.height() * 3 / 4),
                                           step, index));
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

frmDocument* frmMain::documentWithCaption(const QString& caption) const
{
    for (frmDocument* document : Documents()) {
        if (document->windowTitle() == caption)
            return document;
    }
    return nullptr;
}

void frmMain::focusActiveText()
{
    if (frmDocument* document = ActiveDocument())
        document->txtText->SetFocus();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) { acceptDroppedFiles(event); }

void frmMain::dropEvent(QDropEvent* event) { openDroppedFiles(acceptDroppedFiles(event)); }

// Once the drop has ended: a long load or a message must not keep the
// program the files came from waiting for the drop to finish.
void frmMain::openDroppedFiles(const QStringList& paths)
{
    QTimer::singleShot(0, this, [this, paths] {
        for (const QString& path : paths)
            files::openPath(*this, path);
    });
}

Workspace::CloseSave frmMain::saveForClose(frmDocument& document) { return ::saveForClose(*this, document); }

// ---- start-up and shut-down ------------------------------------------------

void frmMain::MDIForm_Load(const QString& commandLine)
{
    CurrentFile = commandLine;
    ApplyResourceCaptions(this);
    LoadPageSettings();
    restorePlacement();

    if (GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible")) == QLatin1String("No")) {
        item(QStringLiteral("mnuViewToolbar"))->setChecked(false);
        tbToolBar->hide();
    }
    if (GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("StatusBar")) == QLatin1String("No")) {
        item(QStringLiteral("mnuViewStatusBar"))->setChecked(false);
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
    if (!files::refusedAsNotRegular(*this, commandLine))
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
