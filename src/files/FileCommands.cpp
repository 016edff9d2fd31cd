// The File menu's commands: Open, Insert, Close, Save, Save As, Save All,
// Properties, Print Setup, a recent file and the file types.
#include "files/FileCommands.h"

#include "core/Clipboard.h"
#include "core/MessageBox.h"
#include "core/Settings.h"
#include "document/RegularFile.h"
#include "document/RichTextBox.h"
#include "document/TextFileCodec.h"
#include "document/frmDocument.h"
#include "files/DocumentSaving.h"
#include "files/FileProperties.h"
#include "files/FileTypes.h"
#include "files/Form1.h"
#include "files/OutsideChanges.h"
#include "files/PathCase.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace files {

static void forgetCancelledLoad(Workspace& workspace, frmDocument* document, bool reused);

// An empty active document takes the file; otherwise a new window opens.
static frmDocument* documentToLoadInto(Workspace& workspace, bool* reused)
{
    frmDocument* document = workspace.ActiveDocument();
    *reused = document && document->txtText->TextLength() == 0;
    return *reused ? document : workspace.NewDocument();
}
static bool chooseSavePath(Workspace& workspace);
static bool saveUnderChosenName(Workspace& workspace, frmDocument* document);

// ---- Open and Insert -------------------------------------------------------

void FileOpen(Workspace& workspace)
{
    CommonDialog& dialog = workspace.dlgCommonDialog;
    BuildFileFilter();
    dialog.DialogTitle = QStringLiteral("Pagewell: Open File");
    const int result = dialog.ShowOpen();
    const QString path = dialog.FileName;
    if (result == CommonDialog::cdlCancel || path.isEmpty()) {
        workspace.focusActiveText();
        return;
    }
    openPath(workspace, path);
}

void openPath(Workspace& workspace, const QString& path)
{
    if (frmDocument* open = workspace.documentWithCaption(QFileInfo(path).absoluteFilePath().toUpper())) {
        workspace.activateDocument(open);  // a file is never opened twice
        return;
    }
    bool reused = false;
    frmDocument* document = documentToLoadInto(workspace, &reused);
    if (!document)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = document->txtText->LoadFile(path, RichTextBox::rtfText);
    QApplication::restoreOverrideCursor();
    if (document->txtText->loadCancelled()) {
        forgetCancelledLoad(workspace, document, reused);
        return;
    }
    nameDocument(document, path);
    document->setLabel1(QString());
    workspace.UpdateRecentFiles(document);
    workspace.UpdateStatusLine();
    if (!loaded)
        MsgBox(QObject::tr("%1 could not be opened.\n\n%2").arg(path, document->txtText->errorString()),
               vb::vbExclamation);
}

bool refusedAsNotRegular(Workspace& workspace, const QString& path)
{
    const QString message = notRegularFileMessage(path);
    if (message.isEmpty())
        return false;
    MsgBox(message, vb::vbExclamation);
    workspace.focusActiveText();
    return true;
}

// A load the user cancelled leaves nothing behind: the window it opened
// closes, an empty window it reused stays as it was.
static void forgetCancelledLoad(Workspace& workspace, frmDocument* document, bool reused)
{
    if (reused) {
        document->setLabel1(QString());
        workspace.focusActiveText();
    } else {
        document->unloadWithoutQuery();
    }
    workspace.UpdateStatusLine();
}

void FileInsert(Workspace& workspace)
{
    CommonDialog& dialog = workspace.dlgCommonDialog;
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    dialog.HelpFile = helpFilePath();
    dialog.HelpCommand = CommonDialog::cdlHelpContext;
    dialog.HelpContext = CommonDialog::HelpTopicFiles;
    dialog.FileName.clear();
    dialog.DialogTitle = QStringLiteral("Pagewell: Insert File");
    dialog.Flags = 0x1016;
    BuildFileFilter();
    if (dialog.setAction(CommonDialog::cdlOpen) == CommonDialog::cdlCancel
        || dialog.FileName.isEmpty()) {
        workspace.focusActiveText();
        return;
    }
    workspace.CurrentFile = dialog.FileName;
    if (refusedAsNotRegular(workspace, workspace.CurrentFile))
        return;
    document->txtText->SetFocus();

    const QString saved = Clipboard::GetText();
    Clipboard::Clear();
    QFile file(workspace.CurrentFile);
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
        MsgBox(QObject::tr("%1 could not be read.\n\n%2").arg(workspace.CurrentFile, error), vb::vbExclamation);
}

// ---- Save, Save As, Save All -----------------------------------------------

// Shows the Save As dialog; false (with the focus back in the text) when
// the user cancelled it.
static bool chooseSavePath(Workspace& workspace)
{
    if (workspace.dlgCommonDialog.setAction(CommonDialog::cdlSave) == CommonDialog::cdlCancel
        || workspace.dlgCommonDialog.FileName.isEmpty()) {
        workspace.focusActiveText();
        return false;
    }
    return true;
}

void FileSave(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    if (document->Title().isEmpty() && document->txtText->TextLength() == 0) {
        MsgBox(QStringLiteral("No text has been entered to save."), vb::vbExclamation);
        return;
    }
    if (!document->Title().isEmpty()) {
        workspace.CurrentFile = document->Title();
        if (isRefusedAsReadOnly(fileAttributes(document->filePath()))) {
            MsgBox(QStringLiteral("File is read-only and cannot be saved."), vb::vbExclamation);
            return;
        }
        if (writeDocument(document, document->filePath(), fileTypeForPath(document->filePath())))
            document->setLabel1(QString());
        return;
    }
    prepareSaveDialog(workspace.dlgCommonDialog);
    saveUnderChosenName(workspace, document);
}

// Asks for a name and saves an unnamed document under it. A first save is
// plain text, whatever the name; the next Save goes by it. False when the
// dialog was cancelled or the write failed.
static bool saveUnderChosenName(Workspace& workspace, frmDocument* document)
{
    if (!chooseSavePath(workspace))
        return false;
    workspace.CurrentFile = workspace.dlgCommonDialog.FileName;
    document->txtText->SetFocus();
    if (!writeDocument(document, workspace.CurrentFile, RichTextBox::rtfText))
        return false;
    nameDocument(document, workspace.CurrentFile);
    workspace.UpdateRecentFiles(document);
    document->setLabel1(QString());
    return true;
}

void FileSaveAs(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    if (document->Title().isEmpty() && document->txtText->TextLength() == 0) {
        MsgBox(QStringLiteral("No text has been entered to save!"), vb::vbExclamation);
        return;
    }
    prepareSaveDialog(workspace.dlgCommonDialog);
    // The dialog starts at the file itself, under its real name.
    workspace.dlgCommonDialog.FileName = document->Title().isEmpty() ? QString() : document->filePath();
    if (document->txtText->SelLength() > 0) {
        if (MsgBox(QStringLiteral("Save only selected text?"), vb::vbOKCancel | vb::vbQuestion) != vb::vbOK) {
            workspace.focusActiveText();
            return;
        }
        if (!chooseSavePath(workspace))
            return;
        workspace.CurrentFile = workspace.dlgCommonDialog.FileName;
        if (!writeSelection(document, workspace.CurrentFile))
            return;
    } else {
        if (!chooseSavePath(workspace))
            return;
        workspace.CurrentFile = workspace.dlgCommonDialog.FileName;
        if (!writeDocument(document, workspace.CurrentFile, fileTypeForPath(workspace.CurrentFile)))
            return;
        nameDocument(document, workspace.CurrentFile);
        workspace.UpdateRecentFiles(document);
    }
    document->txtText->SetFocus();
    document->setLabel1(QString());
}

void FileSaveAll(Workspace& workspace)
{
    for (frmDocument* document : workspace.Documents()) {
        if (!document->Title().isEmpty()) {
            workspace.CurrentFile = document->Title();
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
        prepareSaveDialog(workspace.dlgCommonDialog);
        workspace.activateDocument(document);  // the user sees which text is named
        if (!saveUnderChosenName(workspace, document))
            return;
    }
}

// ---- Properties and Print Setup --------------------------------------------

void FileProperties(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document || document->Title().isEmpty())
        return;
    QString error;
    const std::optional<FileFacts> facts = readFileFacts(document->filePath(), &error);
    if (!facts) {
        MsgBox(QObject::tr("%1 cannot be examined.\n\n%2").arg(document->Title(), error), vb::vbExclamation);
        return;
    }
    MsgBox(filePropertiesMessage(document->Title(), *facts, document->txtText->LineCount()),
           vb::vbInformation, QStringLiteral("File Information"));
}

void FilePrintSetup(Workspace& workspace)
{
    CommonDialog& dialog = workspace.dlgCommonDialog;
    dialog.Flags = 0x840;
    dialog.HelpFile = helpFilePath();
    dialog.HelpCommand = CommonDialog::cdlHelpContext;
    dialog.HelpContext = CommonDialog::HelpTopicFiles;
    dialog.setAction(CommonDialog::cdlPrintSetup);
    workspace.focusActiveText();
}

// ---- recent files ----------------------------------------------------------

void openRecentFile(Workspace& workspace, const QString& path)
{
    if (frmDocument* open = workspace.documentWithCaption(path)) {
        workspace.activateDocument(open);
        return;
    }
    const QString real = resolvePathCaseInsensitive(path);
    if (refusedAsNotRegular(workspace, real))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool reused = false;
    frmDocument* document = documentToLoadInto(workspace, &reused);
    if (!document || real.isEmpty() || !QFileInfo::exists(real)) {
        QApplication::restoreOverrideCursor();
        MsgBox(path + QStringLiteral(" not found."), vb::vbExclamation);
        return;
    }
    document->txtText->LoadFile(real, RichTextBox::rtfText);
    if (document->txtText->loadCancelled()) {
        QApplication::restoreOverrideCursor();
        forgetCancelledLoad(workspace, document, reused);
        return;
    }
    document->setFilePath(QFileInfo(real).absoluteFilePath());
    document->setTitle(path.toUpper());
    document->setWindowTitle(path.toUpper());
    workspace.UpdateRecentFiles(document);
    workspace.UpdateStatusLine();
    QApplication::restoreOverrideCursor();
    document->setLabel1(QString());
}

// ---- file types ------------------------------------------------------------

void mnuExtensions_Click(Workspace& workspace)
{
    Form1 dialog(workspace.widget());
    dialog.exec();
    if (frmDocument* document = workspace.ActiveDocument())
        document->setFocus();
}

void FileClose(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    if (QWidget* frame = document->parentWidget())
        frame->close();
    else
        document->close();
}

bool hasFile(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    return document && !document->Title().isEmpty();
}

}  // namespace files
