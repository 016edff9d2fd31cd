// Font, background colour, colour printing, tab stops and word wrap of the Options menu.
#include "format/FormatCommands.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "format/FontCommand.h"
#include "format/frmTab.h"

#include <QApplication>

namespace format {

void mnuFont_Click(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    const QString changed = document->Label1();
    prepareFontDialog(workspace.dlgCommonDialog, text->Font(),
                      GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color")));
    if (workspace.dlgCommonDialog.setAction(CommonDialog::cdlFont) == CommonDialog::cdlCancel) {
        text->SetFocus();
        return;
    }
    if (text->SelLength() == 0) {
        const qint32 color = applyFontToAll(*text, workspace.dlgCommonDialog, workspace.widget());
        SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color"), QString::number(color));
        text->Refresh();
    } else {
        applyFontToSelection(*text, workspace.dlgCommonDialog);
    }
    text->SetFocus();
    // Formatting on its own neither marks the document changed nor clears the mark.
    document->setLabel1(changed);
}

void mnuColor_Click(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    prepareColorDialog(workspace.dlgCommonDialog);
    if (workspace.dlgCommonDialog.setAction(CommonDialog::cdlColor) == 0)
        document->txtText->setBackColor(workspace.dlgCommonDialog.Color);
    document->txtText->SetFocus();
}

void mnuColorPrint_Click(Workspace& workspace) { workspace.setColorPrint(!workspace.colorPrint()); }

void mnuTab_Click(Workspace& workspace)
{
    if (!workspace.ActiveDocument())
        return;
    frmTab dialog(&workspace);
    dialog.exec();
    if (frmDocument* document = workspace.ActiveDocument())
        document->setFocus();
}

void mnuWrap_Click(Workspace& workspace)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    workspace.setWordWrap(!workspace.wordWrap());
    if (frmDocument* document = workspace.ActiveDocument()) {
        RichTextBox* text = document->txtText;
        if (workspace.wordWrap())
            text->setRightMargin(int(conv::roundHalfEven(0.95 * text->Width())));
        else
            text->setRightMargin(RichTextBox::NoWrapMargin);
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace format
