#include "search/frmReplace.h"

#include "core/MessageBox.h"
#include "core/PointerPlacement.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/ReplaceAll.h"
#include "search/SearchState.h"
#include "search/SearchSteps.h"
#include "search/SearchSupport.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

RichTextBox* activeText(const Workspace& main)
{
    frmDocument* document = main.ActiveDocument();
    return document ? document->txtText : nullptr;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* created = new QPushButton(caption, parent);
    created->setObjectName(QLatin1String(name));
    created->setEnabled(false);
    return created;
}

}  // namespace

frmReplace::frmReplace(Workspace* main) : QDialog(main->widget()), m_main(main)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("Replace"));

    Label1 = new QLabel(QStringLiteral("Fi&nd What:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setMinimumWidth(220);
    Label1->setBuddy(txtFind);
    Label2 = new QLabel(QStringLiteral("Re&place With:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtReplace = new QLineEdit(this);
    txtReplace->setObjectName(QStringLiteral("txtReplace"));
    Label2->setBuddy(txtReplace);
    chkWord = new QCheckBox(QStringLiteral("Match &Whole Words Only"), this);
    chkWord->setObjectName(QStringLiteral("chkWord"));
    chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    cmdFind = button(QStringLiteral("&Find"), "cmdFind", this);
    cmdReplace = button(QStringLiteral("&Replace"), "cmdReplace", this);
    cmdReplace->setDefault(true);
    cmdAll = button(QStringLiteral("Replace &All"), "cmdAll", this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Label3 = new QLabel(QStringLiteral("0"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setVisible(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtFind, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(txtReplace, 1, 1);
    fields->addWidget(chkWord, 2, 0, 1, 2);
    fields->addWidget(chkCase, 3, 0, 1, 2);
    fields->setRowStretch(4, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* each : {cmdFind, cmdReplace, cmdAll, cmdCancel})
        buttons->addWidget(each);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    txtFind->installEventFilter(this);
    txtReplace->installEventFilter(this);
    connect(cmdFind, &QPushButton::clicked, this, &frmReplace::cmdFind_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmReplace::cmdReplace_Click);
    connect(cmdAll, &QPushButton::clicked, this, &frmReplace::cmdAll_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReplace::cmdCancel_Click);

    Form_Load();
}

void frmReplace::Form_Load()
{
    if (RichTextBox* text = activeText(*m_main)) {
        const QString selected = text->SelText();
        if (!selected.isEmpty()) {
            txtFind->setText(selected);
            cmdFind->setEnabled(true);
        }
    }
    m_placePointer = true;  // once shown, when its buttons have their places
}

void frmReplace::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placePointer)
        return;
    m_placePointer = false;
    QTimer::singleShot(0, this, [this] { placePointerOn(this, cmdAll); });
}

bool frmReplace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFind && event->type() == QEvent::FocusIn)
        txtFind_GotFocus();
    else if (watched == txtFind && event->type() == QEvent::KeyRelease)
        txtFind_KeyUp();
    else if (watched == txtReplace && event->type() == QEvent::KeyRelease)
        txtReplace_KeyUp();
    return QDialog::eventFilter(watched, event);
}

void frmReplace::txtFind_GotFocus() { txtFind->selectAll(); }

void frmReplace::txtFind_KeyUp() { cmdFind->setEnabled(!txtFind->text().isEmpty()); }

void frmReplace::txtReplace_KeyUp()
{
    const bool hasReplacement = !txtReplace->text().isEmpty();
    cmdReplace->setEnabled(hasReplacement);
    cmdAll->setEnabled(hasReplacement);
}

int frmReplace::options() const { return searchOptionsFor(chkWord->isChecked(), chkCase->isChecked()); }

int frmReplace::nextPosition() const { return Label3->text().toInt(); }

bool frmReplace::findBoxFilled() const
{
    if (txtFind->text().isEmpty())
        MsgBox(QStringLiteral("Nothing to replace!"), vb::vbExclamation);
    return !txtFind->text().isEmpty();
}

bool frmReplace::stepDone(int next, bool clearReplacement)
{
    Label3->setText(QString::number(next));
    if (next != 0)
        return true;
    search::showNotFound(txtFind->text());
    txtFind->clear();
    if (clearReplacement)
        txtReplace->clear();
    for (QPushButton* each : {cmdFind, cmdReplace, cmdAll})
        each->setEnabled(false);
    return false;
}

void frmReplace::cmdFind_Click()
{
    RichTextBox* text = activeText(*m_main);
    if (text && !stepDone(search::findStep(*text, txtFind->text(), options()), false))
        hide();
}

void frmReplace::cmdReplace_Click()
{
    RichTextBox* text = findBoxFilled() ? activeText(*m_main) : nullptr;
    if (text && !stepDone(search::replaceStep(*text, txtFind->text(), txtReplace->text(), options()), false))
        hide();
}

void frmReplace::cmdAll_Click()
{
    RichTextBox* text = findBoxFilled() ? activeText(*m_main) : nullptr;
    if (!text)
        return;
    search::WaitCursor wait;
    frmDocument* document = m_main->ActiveDocument();
    const QString changedMark = document->Label1();
    const int next = search::replaceAllStep(*text, txtFind->text(), txtReplace->text(), nextPosition(), options());
    wait.release();
    if (next == search::ReplaceAllCancelled) {
        document->setLabel1(changedMark);
        return;
    }
    if (next == -1) {
        search::showNotFound(txtFind->text());
        return;
    }
    Label3->setText(QString::number(next));
    Unload();
}

void frmReplace::replaceNext()
{
    if (RichTextBox* text = activeText(*m_main))
        stepDone(search::replaceNextStep(*text, txtFind->text(), txtReplace->text(), nextPosition(), options()), true);
}

// Gone for good: hidden now, deleted once control is back in the event loop
// (the dialog may still be inside its own exec()).
void frmReplace::Unload()
{
    m_unloaded = true;
    hide();
    deleteLater();
}

frmReplace* loadedReplaceDialog(Workspace& main)
{
    for (frmReplace* dialog : main.widget()->findChildren<frmReplace*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!dialog->isUnloaded())
            return dialog;
    }
    return nullptr;
}

frmReplace* replaceDialog(Workspace& main)
{
    frmReplace* dialog = loadedReplaceDialog(main);
    return dialog ? dialog : new frmReplace(&main);
}
