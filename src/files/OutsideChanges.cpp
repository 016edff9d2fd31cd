#include "files/OutsideChanges.h"

#include "core/MessageBox.h"
#include "document/FileIdentity.h"
#include "document/RegularFile.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QApplication>
#include <QDir>

namespace {

QString changedText(const QString& path, const QString& next)
{
    return QObject::tr("%1 has been changed by another program.").arg(path) + QStringLiteral("\r\n") + next;
}

// The file as it is now, under the same name: the document is clean again
// and Undo cannot bring the old text back.
void reload(frmDocument* document)
{
    RichTextBox* text = document->txtText;
    const FileIdentity before = text->fileIdentity();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = text->LoadFile(document->filePath(), RichTextBox::rtfText);
    QApplication::restoreOverrideCursor();
    text->EmptyUndoBuffer();
    // Also after a failure: the file itself is untouched, and a save asks
    // before overwriting what could not be read.
    document->setLabel1(QString());
    if (!loaded) {
        text->setFileIdentity(before);
        MsgBox(QObject::tr("%1 could not be reloaded.\n\n%2")
                   .arg(QDir::toNativeSeparators(document->filePath()), text->errorString()),
               vb::vbExclamation);
    }
}

}  // namespace

void noticeOutsideChange(frmDocument* document)
{
    // A folder, device or pipe was never read as the document's file.
    if (document->filePath().isEmpty() || !notRegularFileMessage(document->filePath()).isEmpty())
        return;
    const FileIdentity now = FileIdentity::of(document->filePath());
    const DiskNotice notice = diskNotice(document->txtText->fileIdentity(), document->reportedOnDisk, now,
                                         !document->Label1().isEmpty());
    if (notice == DiskNotice::None)
        return;
    document->reportedOnDisk = now;
    const QString path = QDir::toNativeSeparators(document->filePath());
    switch (notice) {
    case DiskNotice::Deleted:
        MsgBox(QObject::tr("%1 has been deleted or moved by another program.\r\n"
                           "Saving the document will write it again.")
                   .arg(path),
               vb::vbExclamation);
        break;
    case DiskNotice::ChangedUnder:
        MsgBox(changedText(path, QObject::tr("Your changes are not saved; saving them will ask before "
                                             "overwriting the file.")),
               vb::vbExclamation);
        break;
    case DiskNotice::OfferReload:
        if (MsgBox(changedText(path, QObject::tr("Do you want to reload it?")), vb::vbYesNo | vb::vbQuestion) == vb::vbYes)
            reload(document);
        break;
    case DiskNotice::None:
        break;
    }
}
