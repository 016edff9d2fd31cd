#include "search/frmGotoLine.h"

#include "core/MessageBox.h"
#include "core/PointerPlacement.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/GotoLine.h"
#include "search/SearchSupport.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

frmGotoLine::frmGotoLine(Workspace* main) : QDialog(main->widget()), m_main(main)
{
    setObjectName(QStringLiteral("frmGotoLine"));
    setWindowTitle(QStringLiteral("Go To Line..."));

    Label1 = new QLabel(QStringLiteral("&Line Number:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    // Typed characters are filtered with a beep; the validator keeps pasted
    // text to digits as well.
    Text1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Text1));
    Label1->setBuddy(Text1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* field = new QVBoxLayout;
    field->addWidget(Label1);
    field->addWidget(Text1);
    field->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Text1->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmGotoLine::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGotoLine::cmdCancel_Click);
}

bool frmGotoLine::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        placePointerOn(this, cmdOK);
    return handled;
}

bool frmGotoLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1 && !Text1_KeyPress(typed[0]))
            return true;
    } else if (watched == Text1 && event->type() == QEvent::KeyRelease) {
        Text1_KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmGotoLine::Text1_KeyPress(QChar character)
{
    if (character.unicode() < 32 || character.unicode() == 127 || (character >= u'0' && character <= u'9'))
        return true;
    Beep();
    return false;
}

void frmGotoLine::Text1_KeyUp() { cmdOK->setEnabled(!Text1->text().isEmpty()); }

void frmGotoLine::cmdCancel_Click()
{
    reject();
    if (frmDocument* document = m_main->ActiveDocument())
        document->setFocus();
}

void frmGotoLine::cmdOK_Click()
{
    goToLine();
    m_main->UpdateStatusLine();
    if (frmDocument* document = m_main->ActiveDocument())
        document->setFocus();
}

void frmGotoLine::goToLine()
{
    if (frmDocument* document = m_main->ActiveDocument()) {
        RichTextBox* text = document->txtText;
        if (Text1->text() == QLatin1String("0"))
            Text1->setText(QStringLiteral("1"));
        const search::LineJump jump =
            search::lineJump(Text1->text(), [text](int line) { return text->LineIndex(line); });
        if (!jump.far) {
            text->setSelStart(jump.position);
        } else {
            document->setUpdatesEnabled(false);
            search::moveCaret(*m_main, *document, jump.position);
            document->setUpdatesEnabled(true);
            document->repaint();
            m_main->UpdateStatusLine();
        }
    }
    accept();
}
