#include "format/FontCommand.h"

#include "core/CommonDialog.h"
#include "core/Conversions.h"
#include "core/OleColor.h"
#include "document/RichTextBox.h"

#include <QFont>
#include <QWidget>

namespace {

constexpr int FontFlags = 0x107;  // screen and printer fonts, Help button, effects
constexpr int ColorFlags = 9;     // start from the preset colour, Help button

void prepareHelp(CommonDialog& dialog)
{
    dialog.HelpFile = helpFilePath();
    dialog.HelpCommand = CommonDialog::cdlHelpContext;
    dialog.HelpContext = CommonDialog::HelpTopicColorsAndFonts;
}

}  // namespace

void prepareFontDialog(CommonDialog& dialog, const QFont& base, const QString& storedColor)
{
    dialog.CancelError = true;
    dialog.FontName = base.family();
    dialog.FontSize = base.pointSizeF();
    dialog.FontBold = base.bold();
    dialog.FontItalic = base.italic();
    if (!storedColor.isEmpty())
        dialog.Color = conv::leadingColour(storedColor);
    dialog.Flags = FontFlags;
    prepareHelp(dialog);
}

qint32 applyFontToAll(RichTextBox& text, const CommonDialog& dialog, QWidget* window)
{
    window->setUpdatesEnabled(false);
    text.SendMessage(RichTextBox::EM_SETSEL, 0, -1);
    QFont base = text.Font();
    base.setFamily(dialog.FontName);
    base.setPointSizeF(dialog.FontSize);
    base.setBold(dialog.FontBold);
    base.setItalic(dialog.FontItalic);
    text.setFont(base);
    text.setSelColor(dialog.Color);
    text.setSelUnderline(dialog.FontUnderline);
    text.setSelStrikeThru(dialog.FontStrikethru);
    text.setSelStart(0);
    window->setUpdatesEnabled(true);
    text.SendMessage(RichTextBox::EM_EMPTYUNDOBUFFER, 0, 0);
    return text.SelColor();
}

void applyFontToSelection(RichTextBox& text, const CommonDialog& dialog)
{
    text.setSelFontName(dialog.FontName);
    text.setSelFontSize(dialog.FontSize);
    text.setSelBold(dialog.FontBold);
    text.setSelItalic(dialog.FontItalic);
    text.setSelColor(dialog.Color);
    text.setSelUnderline(dialog.FontUnderline);
    text.setSelStrikeThru(dialog.FontStrikethru);
}

void prepareColorDialog(CommonDialog& dialog)
{
    dialog.CancelError = true;
    dialog.Flags = ColorFlags;
    dialog.Color = olecolor::SystemWindow;
    prepareHelp(dialog);
}
