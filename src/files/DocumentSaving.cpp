#include "files/DocumentSaving.h"

#include "app/MessageBox.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "files/CommonDialog.h"
#include "files/DocumentRecovery.h"
#include "files/FileTypes.h"
#include "files/SafeWrite.h"
#include "files/TextFileCodec.h"

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

bool writeDocument(frmDocument* document, const QString& path, int type)
{
    if (document->txtText->SaveFile(path, type)) {
        if (DocumentRecovery* recovery = DocumentRecovery::running())
            recovery->documentSaved(document);
        return true;
    }
    reportWriteFailure(path, document->txtText->errorString());
    return false;
}

bool writeSelection(frmDocument* document, const QString& path)
{
    TextFileFormat format = document->txtText->fileFormat();
    // Every break, the one after the selection included, is the file's own.
    const QString text = normalizeLineBreaks(document->txtText->SelText()) + u'\n';
    bool lossless = true;
    QByteArray bytes = encodeTextFile(text, {}, format, &lossless);
    if (!lossless) {
        // As for a whole document: letters the code page lacks are kept by
        // writing UTF-8 instead.
        format.encoding = TextFileFormat::Utf8;
        format.bom = false;
        bytes = encodeTextFile(text, {}, format);
    }
    QString error;
    if (writeFileSafely(path, bytes, &error))
        return true;
    reportWriteFailure(path, error);
    return false;
}

void nameDocument(frmDocument* document, const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    document->setFilePath(absolute);
    document->setTitle(absolute.toUpper());
    document->setWindowTitle(absolute.toUpper());
}

QString helpFilePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/Pagewell.hlp");
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
