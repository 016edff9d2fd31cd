// Font, background colour, colour printing and tab stops of the Options menu.
#include "core/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "format/FontCommand.h"
#include "format/frmTab.h"

#include <QAction>

void frmMain::mnuFont_Click()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    const QString changed = document->Label1();
    prepareFontDialog(dlgCommonDialog, text->Font(),
                      GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color")));
    if (dlgCommonDialog.setAction(CommonDialog::cdlFont) == CommonDialog::cdlCancel) {
        text->SetFocus();
        return;
    }
    if (text->SelLength() == 0) {
        const qint32 color = applyFontToAll(*text, dlgCommonDialog, this);
        SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Color"), QString::number(color));
        text->Refresh();
    } else {
        applyFontToSelection(*text, dlgCommonDialog);
    }
    text->SetFocus();
    // Formatting on its own neither marks the document changed nor clears the mark.
    document->setLabel1(changed);
}

void frmMain::mnuColor_Click()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    prepareColorDialog(dlgCommonDialog);
    if (dlgCommonDialog.setAction(CommonDialog::cdlColor) == 0)
        document->txtText->setBackColor(dlgCommonDialog.Color);
    document->txtText->SetFocus();
}

void frmMain::mnuColorPrint_Click(int index)
{
    Q_UNUSED(index);  // the handler inverts item 0 whatever it is given
    // A click on the checkable item has flipped its mark already; any other
    // caller gets the one inversion here.
    if (sender() != mnuColorPrint[0])
        mnuColorPrint[0]->setChecked(!mnuColorPrint[0]->isChecked());
}

void frmMain::mnuTab_Click()
{
    if (!ActiveDocument())
        return;
    frmTab dialog(this);
    dialog.exec();
    if (frmDocument* document = ActiveDocument())
        document->setFocus();
}
