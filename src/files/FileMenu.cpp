// The File menu: New, Open, Insert, Close, Save, Save As, Save All,
// Properties, Print Setup, Exit, the recent files and the file types.
#include "core/MessageBox.h"
#include "core/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "core/Clipboard.h"
#include "files/DocumentSaving.h"
#include "files/FileProperties.h"
#include "files/FileTypes.h"
#include "files/Form1.h"
#include "files/OutsideChanges.h"
#include "files/PathCase.h"
#include "files/RecentFiles.h"
#include "document/RegularFile.h"
#include "document/TextFileCodec.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void frmMain::connectFileCommands()
{
    connect(mnuFile, &QMenu::aboutToShow, this, &frmMain::mnuFile_Click);
    // A file another program changed is reported when its window comes back
    // to the front, once the activation is over; not over another dialog.
    const auto checkActiveFile = [this] {
        QMetaObject::invokeMethod(this, [this] {
            if (frmDocument* document = ActiveDocument(); document && !QApplication::activeModalWidget())
                noticeOutsideChange(document);
        }, Qt::QueuedConnection);
    };
    connect(mdiArea, &QMdiArea::subWindowActivated, this, checkActiveFile);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [checkActiveFile](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            checkActiveFile();
    });
}

void frmMain::mnuFile_Click()
{
    frmDocument* document = ActiveDocument();
    mnuFileItem[9]->setEnabled(document && !document->Title().isEmpty());
}

void frmMain::focusActiveText()
{
    if (frmDocument* document = ActiveDocument())
        document->txtText->SetFocus();
}

void frmMain::mnuFileItem_Click(int index)
{
    switch (index) {
    case 0: NewDocument(); break;
    case 1: FileOpen(); break;
    case 2: FileInsert(); break;
    case 3:
        if (QMdiSubWindow* frame = mdiArea->currentSubWindow())
            frame->close();
        break;
    case 5: FileSave(); break;
    case 6: FileSaveAs(); break;
    case 7: FileSaveAll(); break;
    case 9: FileProperties(); break;
    case 11: FilePrint(); break;
    case 12: FilePrintSetup(); break;
    case 13: FilePageSetup(); break;
    case 15: close(); break;
    default: break;  // separators, and commands that have their own window
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

// ---- Open and Insert -------------------------------------------------------

void frmMain::FileOpen()
{
    BuildFileFilter();
    dlgCommonDialog.DialogTitle = QStringLiteral("Pagewell: Open File");
    const int result = dlgCommonDialog.ShowOpen();
    const QString path = dlgCommonDialog.FileName;
    if (result == CommonDialog::cdlCancel || path.isEmpty()) {
        focusActiveText();
        return;
    }
    if (frmDocument* open = documentWithCaption(QFileInfo(path).absoluteFilePath().toUpper())) {
        activateDocument(open);  // a file is never opened twice
        return;
    }
    frmDocument* document = ActiveDocument();
    const bool reused = document && document->txtText->TextLength() == 0;
    if (!reused)
        document = NewDocument();
    if (!document)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = document->txtText->LoadFile(path, RichTextBox::rtfText);
    QApplication::restoreOverrideCursor();
    if (document->txtText->loadCancelled()) {
        forgetCancelledLoad(document, reused);
        return;
    }
    nameDocument(document, path);
    document->setLabel1(QString());
    UpdateRecentFiles(document);
    UpdateStatusLine();
    if (!loaded)
        MsgBox(tr("%1 could not be opened.\n\n%2").arg(path, document->txtText->errorString()),
               vb::vbExclamation);
}

// A named pipe, a device or a socket is refused with a message: reading it
// would wait for a writer or never end.
bool frmMain::refusedAsNotRegular(const QString& path)
{
    const QString message = notRegularFileMessage(path);
    if (message.isEmpty())
        return false;
    MsgBox(message, vb::vbExclamation);
    focusActiveText();
    return true;
}

// A load the user cancelled leaves nothing behind: the window it opened
// closes, an empty window it reused stays as it was.
void frmMain::forgetCancelledLoad(frmDocument* document, bool reused)
{
    if (reused) {
        document->setLabel1(QString());
        focusActiveText();
    } else {
        document->unloadWithoutQuery();
    }
    UpdateStatusLine();
}

void frmMain::FileInsert()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    dlgCommonDialog.HelpFile = helpFilePath();
    dlgCommonDialog.HelpCommand = CommonDialog::cdlHelpContext;
    dlgCommonDialog.HelpContext = CommonDialog::HelpTopicFiles;
    dlgCommonDialog.FileName.clear();
    dlgCommonDialog.DialogTitle = QStringLiteral("Pagewell: Insert File");
    dlgCommonDialog.Flags = 0x1016;
    BuildFileFilter();
    if (dlgCommonDialog.setAction(CommonDialog::cdlOpen) == CommonDialog::cdlCancel
        || dlgCommonDialog.FileName.isEmpty()) {
        focusActiveText();
        return;
    }
    CurrentFile = dlgCommonDialog.FileName;
    if (refusedAsNotRegular(CurrentFile))
        return;
    document->txtText->SetFocus();

    const QString saved = Clipboard::GetText();
    Clipboard::Clear();
    QFile file(CurrentFile);
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        error = file.errorString();
    const QByteArray bytes = error.isEmpty() ? file.readAll() : QByteArray();
    if (error.isEmpty() && file.error() != QFileDevice::NoError)
        error = file.errorString();
    if (error.isEmpty()) {
        Clipboard::SetText(decodeTextFile(bytes).text);
        document->txtText->setSelText(Clipboard::GetText());
    }
    // The clipboard gets back what it held, also when the file could not be read.
    if (saved.isEmpty())
        Clipboard::Clear();
    else
        Clipboard::SetText(saved);
    if (!error.isEmpty())
        MsgBox(tr("%1 could not be read.\n\n%2").arg(CurrentFile, error), vb::vbExclamation);
}

// ---- Save, Save As, Save All -----------------------------------------------

// Shows the Save As dialog; false (with the focus back in the text) when
// the user cancelled it.
bool frmMain::chooseSavePath()
{
    if (dlgCommonDialog.setAction(CommonDialog::cdlSave) == CommonDialog::cdlCancel
        || dlgCommonDialog.FileName.isEmpty()) {
        focusActiveText();
        return false;
    }
    return true;
}

void frmMain::FileSave()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    if (document->Title().isEmpty() && document->txtText->TextLength() == 0) {
        MsgBox(QStringLiteral("No text has been entered to save."), vb::vbExclamation);
        return;
    }
    if (!document->Title().isEmpty()) {
        CurrentFile = document->Title();
        if (isRefusedAsReadOnly(fileAttributes(document->filePath()))) {
            MsgBox(QStringLiteral("File is read-only and cannot be saved."), vb::vbExclamation);
            return;
        }
        if (writeDocument(document, document->filePath(), fileTypeForPath(document->filePath())))
            document->setLabel1(QString());
        return;
    }
    prepareSaveDialog(dlgCommonDialog);
    saveUnderChosenName(document);
}

// Asks for a name and saves an unnamed document under it. A first save is
// plain text, whatever the name; the next Save goes by it. False when the
// dialog was cancelled or the write failed.
bool frmMain::saveUnderChosenName(frmDocument* document)
{
    if (!chooseSavePath())
        return false;
    CurrentFile = dlgCommonDialog.FileName;
    document->txtText->SetFocus();
    if (!writeDocument(document, CurrentFile, RichTextBox::rtfText))
        return false;
    nameDocument(document, CurrentFile);
    UpdateRecentFiles(document);
    document->setLabel1(QString());
    return true;
}

void frmMain::FileSaveAs()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    if (document->Title().isEmpty() && document->txtText->TextLength() == 0) {
        MsgBox(QStringLiteral("No text has been entered to save!"), vb::vbExclamation);
        return;
    }
    prepareSaveDialog(dlgCommonDialog);
    // The dialog starts at the file itself, under its real name.
    dlgCommonDialog.FileName = document->Title().isEmpty() ? QString() : document->filePath();
    if (document->txtText->SelLength() > 0) {
        if (MsgBox(QStringLiteral("Save only selected text?"), vb::vbOKCancel | vb::vbQuestion) != vb::vbOK) {
            focusActiveText();
            return;
        }
        if (!chooseSavePath())
            return;
        CurrentFile = dlgCommonDialog.FileName;
        if (!writeSelection(document, CurrentFile))
            return;
    } else {
        if (!chooseSavePath())
            return;
        CurrentFile = dlgCommonDialog.FileName;
        if (!writeDocument(document, CurrentFile, fileTypeForPath(CurrentFile)))
            return;
        nameDocument(document, CurrentFile);
        UpdateRecentFiles(document);
    }
    document->txtText->SetFocus();
    document->setLabel1(QString());
}

void frmMain::FileSaveAll()
{
    for (frmDocument* document : Documents()) {
        if (!document->Title().isEmpty()) {
            CurrentFile = document->Title();
            if (isRefusedAsReadOnly(fileAttributes(document->filePath()))) {
                MsgBox(QStringLiteral("File is read-only and cannot be saved."), vb::vbExclamation);
                return;
            }
            if (!writeDocument(document, document->filePath(), fileTypeForPath(document->filePath())))
                return;
            document->setLabel1(QString());
            continue;
        }
        if (document->txtText->TextLength() == 0) {
            MsgBox(QStringLiteral("No text has been entered to save."), vb::vbExclamation);
            return;
        }
        prepareSaveDialog(dlgCommonDialog);
        activateDocument(document);  // the user sees which text is named
        if (!saveUnderChosenName(document))
            return;
    }
}

// ---- Properties and Print Setup --------------------------------------------

void frmMain::FileProperties()
{
    frmDocument* document = ActiveDocument();
    if (!document || document->Title().isEmpty())
        return;
    QString error;
    const std::optional<FileFacts> facts = readFileFacts(document->filePath(), &error);
    if (!facts) {
        MsgBox(tr("%1 cannot be examined.\n\n%2").arg(document->Title(), error), vb::vbExclamation);
        return;
    }
    MsgBox(filePropertiesMessage(document->Title(), *facts, document->txtText->LineCount()),
           vb::vbInformation, QStringLiteral("File Information"));
}

void frmMain::FilePrintSetup()
{
    dlgCommonDialog.Flags = 0x840;
    dlgCommonDialog.HelpFile = helpFilePath();
    dlgCommonDialog.HelpCommand = CommonDialog::cdlHelpContext;
    dlgCommonDialog.HelpContext = CommonDialog::HelpTopicFiles;
    dlgCommonDialog.setAction(CommonDialog::cdlPrintSetup);
    focusActiveText();
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
    if (index < 1 || index >= mnuFileArray.size() || !mnuFileArray[index])
        return;
    const QString path = pathFromRecentCaption(mnuFileArray[index]->text());
    if (frmDocument* open = documentWithCaption(path)) {
        activateDocument(open);
        return;
    }
    const QString real = resolvePathCaseInsensitive(path);
    if (refusedAsNotRegular(real))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmDocument* document = ActiveDocument();
    const bool reused = document && document->txtText->TextLength() == 0;
    if (!reused)
        document = NewDocument();
    if (!document || real.isEmpty() || !QFileInfo::exists(real)) {
        QApplication::restoreOverrideCursor();
        MsgBox(path + QStringLiteral(" not found."), vb::vbExclamation);
        return;
    }
    document->txtText->LoadFile(real, RichTextBox::rtfText);
    if (document->txtText->loadCancelled()) {
        QApplication::restoreOverrideCursor();
        forgetCancelledLoad(document, reused);
        return;
    }
    document->setFilePath(QFileInfo(real).absoluteFilePath());
    document->setTitle(path.toUpper());
    document->setWindowTitle(path.toUpper());
    UpdateRecentFiles(document);
    UpdateStatusLine();
    QApplication::restoreOverrideCursor();
    document->setLabel1(QString());
}

// ---- file types ------------------------------------------------------------

void frmMain::mnuExtensions_Click(int index)
{
    if (index != 1)
        return;
    Form1 dialog(this);
    dialog.exec();
    if (frmDocument* document = ActiveDocument())
        document->setFocus();
}
