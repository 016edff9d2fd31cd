// Word Count and Character Count.
#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "core/Workspace.h"
#include "document/LoadProgress.h"
#include "document/RichTextBox.h"
#include "document/StoredText.h"
#include "document/frmDocument.h"
#include "search/SearchCommands.h"
#include "search/SearchSupport.h"
#include "search/WordCount.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace search {

namespace {

// Files above this size get the caret back only to the start of its line.
constexpr qint64 SmallFileBytes = 32000;

bool isSmallFile(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.size() <= SmallFileBytes;
}

// Paints between megabytes; a long count shows its progress and may be
// cancelled (false).
bool countAll(frmDocument& document, wordcount::DocumentWordCount& count, qint64 length)
{
    LoadProgress progress(&document, length, QCoreApplication::translate("WordCount", "Counting words..."));
    constexpr qint64 Step = 1 << 20;  // pieces can be as short as a paragraph
    qint64 counted = 0, reported = 0;
    return forEachCrLfPiece(*document.txtText->document(), [&](QStringView piece) {
        count.add(piece);
        counted += piece.size();
        if (counted - reported < Step)
            return true;
        reported = counted;
        return progress.advance(counted);
    });
}

}  // namespace

void wordCountCommand(Workspace& main)
{
    frmDocument* document = main.ActiveDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    WaitCursor wait;
    const qint64 length = text->SendMessage(RichTextBox::WM_GETTEXTLENGTH, 0, 0);
    wordcount::DocumentWordCount count(length);
    if (!countAll(*document, count, length))
        return;  // cancelled: nothing to tell, nothing changed
    const int total = count.total();
    if (length > wordcount::SliceLength) {
        // Counting once walked the selection through the text slice by
        // slice; the caret stays at the start where that walk left it.
        document->setUpdatesEnabled(false);
        text->setSelStart(0);
        document->setUpdatesEnabled(true);
        document->repaint();
    }
    wait.release();
    MsgBox(QStringLiteral("This document contains") + conv::numberWithSign(total) + QStringLiteral(" words."),
           vb::vbInformation, QStringLiteral("Word Count"));
    text->SendMessage(RichTextBox::EM_EMPTYUNDOBUFFER, 0, 0);
    text->SetFocus();
}

void characterCountCommand(Workspace& main)
{
    frmDocument* document = main.ActiveDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    const int caretLine = int(text->SendMessage(RichTextBox::EM_LINEFROMCHAR, -1, 0)) + 1;
    main.widget()->setUpdatesEnabled(false);
    const int saved = text->SelStart();
    const qint64 lines = text->SendMessage(RichTextBox::EM_GETLINECOUNT, 0, 0);
    // Selecting everything would give this length too, but would first move
    // the caret to the end, laying the whole text out to show it there.
    const qint64 count = text->SendMessage(RichTextBox::WM_GETTEXTLENGTH, 0, 0) - 2 * lines;
    if (isSmallFile(document->filePath())) {
        text->setSelStart(saved);
    } else {
        // A document without a file on disk takes this way too.
        const int lineStart = int(text->SendMessage(RichTextBox::EM_LINEINDEX, caretLine - 1, 0));
        moveCaret(main, *document, lineStart);
    }
    main.widget()->setUpdatesEnabled(true);
    text->Refresh();
    MsgBox(QStringLiteral("This document contains") + conv::numberWithSign(count) + QStringLiteral(" characters."),
           vb::vbInformation);
    text->SetFocus();
}

}  // namespace search
