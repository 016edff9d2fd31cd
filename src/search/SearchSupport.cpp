#include "search/SearchSupport.h"

#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>

namespace search {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void WaitCursor::release()
{
    if (m_on)
        QApplication::restoreOverrideCursor();
    m_on = false;
}

void showNotFound(const QString& text)
{
    MsgBox(QStringLiteral("Cannot find ") + QLatin1Char('"') + text + QLatin1Char('"'), vb::vbInformation);
}

int farMoveRightMargin(int widthTwips)
{
    const float factor = 1.1f;
    const float margin = float(widthTwips) * factor;
    return int(conv::roundHalfEven(double(margin)));
}

void moveCaret(Workspace& main, frmDocument& document, int position)
{
    RichTextBox* text = document.txtText;
    text->setSelStart(position);
    if (position < FarPosition)
        return;
    if (main.wordWrap())
        text->setRightMargin(farMoveRightMargin(text->Width()));
    document.repaint();
}

}  // namespace search
