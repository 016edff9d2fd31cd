#include "files/DocumentSaving.h"

#include "core/CommonDialog.h"
#include "core/MessageBox.h"
#include "document/FileIdentity.h"
#include "document/RichTextBox.h"
#include "document/SafeWrite.h"
#include "document/TextFileCodec.h"
#include "document/frmDocument.h"
#include "files/DocumentRecovery.h"
#include "files/FileProperties.h"
#include "files/FileTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

int fileTypeForPath(const QString& path)
{
    return path.right(3).toLower() == QLatin1String("rtf") ? RichTextBox::rtfRTF : RichTextBox::rtfText;
}

// The writer's message already names the path with the system's reason;
// it is shown as it is rather than after the path a second time.
static void reportWriteFailure(const QString& path, const QString& error)
{
    const QString native = QDir::toNativeSeparators(path);
    MsgBox(error.contains(native) ? error : QObject::tr("%1 could not be saved: %2").arg(native, error),
           vb::vbExclamation);
}

static bool isDocumentFile(const frmDocument* document, const QString& path)
{
    return !document->filePath().isEmpty() && QFileInfo(path).absoluteFilePath() == document->filePath();
}

// Another program's version of the document's own file is overwritten only
// when the user says so. A deleted file is simply written again.
static bool mayOverwrite(const frmDocument* document, const QString& path)
{
    if (!isDocumentFile(document, path)
        || document->txtText->fileIdentity().changeTo(FileIdentity::of(path)) != FileIdentity::Changed)
        return true;
    return MsgBox(QObject::tr("%1 has been changed by another program since it was opened or saved.\r\n"
                              "Do you want to overwrite it?")
                      .arg(QDir::toNativeSeparators(path)),
                  vb::vbOKCancel | vb::vbExclamation)
           == vb::vbOK;
}

static QString encodingName(TextFileFormat::Encoding encoding)
{
    switch (encoding) {
    case TextFileFormat::Windows1252: return QStringLiteral("Windows-1252");
    case TextFileFormat::Utf16LE:
    case TextFileFormat::Utf16BE: return QStringLiteral("UTF-16");
    case TextFileFormat::Utf8: break;
    }
    return QStringLiteral("UTF-8");
}

// A text the file's code page cannot hold goes to UTF-8 only when the user
// agrees: other programs may not read the file the same way afterwards.
static bool mayWriteAsUtf8(const QString& path, const TextFileFormat& format)
{
    return MsgBox(QObject::tr("%1 is stored as %2, which cannot hold some of the characters in the text.\r\n"
                              "Do you want to save it as UTF-8 instead?")
                      .arg(QDir::toNativeSeparators(path), encodingName(format.encoding)),
                  vb::vbOKCancel | vb::vbExclamation)
           == vb::vbOK;
}

bool writeDocument(frmDocument* document, const QString& path, int type)
{
    if (!mayOverwrite(document, path))
        return false;
    RichTextBox* text = document->txtText;
    bool written = text->SaveFile(path, type, RichTextBox::EncodingFallback::Refuse);
    if (!written && text->encodingRefused()) {
        if (!mayWriteAsUtf8(path, text->fileFormat()))
            return false;
        written = text->SaveFile(path, type);
    }
    if (written) {
        if (DocumentRecovery* recovery = DocumentRecovery::running())
            recovery->documentSaved(document);
        return true;
    }
    if (text->saveCancelled())
        return false;  // the user stopped it: the file is as it was
    reportWriteFailure(path, text->errorString());
    return false;
}

bool writeSelection(frmDocument* document, const QString& path)
{
    if (!mayOverwrite(document, path))
        return false;
    TextFileFormat format = document->txtText->fileFormat();
    // Every break, the one after the selection included, is the file's own.
    const QString text = normalizeLineBreaks(document->txtText->SelText()) + u'\n';
    bool lossless = true;
    QByteArray bytes = encodeTextFile(text, {}, format, &lossless);
    if (!lossless) {
        // As for a whole document: letters the code page lacks are kept by
        // writing UTF-8 instead.
        if (!mayWriteAsUtf8(path, format))
            return false;
        format.encoding = TextFileFormat::Utf8;
        format.bom = false;
        bytes = encodeTextFile(text, {}, format);
    }
    QString error;
    if (!writeFileSafely(path, bytes, &error)) {
        reportWriteFailure(path, error);
        return false;
    }
    if (isDocumentFile(document, path))
        document->txtText->setFileIdentity(FileIdentity::of(path));  // our own write
    return true;
}

void nameDocument(frmDocument* document, const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    document->setFilePath(absolute);
    document->setTitle(absolute.toUpper());
    document->setWindowTitle(absolute.toUpper());
}

void prepareSaveDialog(CommonDialog& dialog)
{
    dialog.CancelError = true;
    dialog.HelpFile = helpFilePath();
    dialog.HelpCommand = CommonDialog::cdlHelpContext;
    dialog.HelpContext = CommonDialog::HelpTopicFiles;
    dialog.DialogTitle = QStringLiteral("Pagewell: Save File");
    dialog.Flags = 0x1016;
    BuildFileFilter();
}

Workspace::CloseSave saveForClose(Workspace& workspace, frmDocument& document)
{
    if (!document.Title().isEmpty()) {
        workspace.CurrentFile = document.Title();
        const int attributes = fileAttributes(document.filePath());
        if (isRefusedAsReadOnly(attributes)) {
            MsgBox(QStringLiteral("File is read-only and cannot be saved!"),
                   attributes == 33 ? vb::vbExclamation : vb::vbOKOnly);
            return Workspace::CloseSave::Refused;
        }
        return writeDocument(&document, document.filePath(), fileTypeForPath(document.filePath()))
                   ? Workspace::CloseSave::Saved
                   : Workspace::CloseSave::Cancelled;
    }
    CommonDialog& dialog = workspace.dlgCommonDialog;
    prepareSaveDialog(dialog);
    // A cancel raises its error before anything is taken from the dialog.
    if (dialog.setAction(CommonDialog::cdlSave) == CommonDialog::cdlCancel)
        return Workspace::CloseSave::Cancelled;
    workspace.CurrentFile = dialog.FileName;
    if (dialog.FileName.isEmpty() || !writeDocument(&document, dialog.FileName, fileTypeForPath(dialog.FileName)))
        return Workspace::CloseSave::Cancelled;
    nameDocument(&document, dialog.FileName);
    workspace.UpdateRecentFiles(&document);
    return Workspace::CloseSave::Saved;
}
