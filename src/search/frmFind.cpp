#include "search/frmFind.h"

#include "core/PointerPlacement.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/TextSearch.h"
#include "document/frmDocument.h"
#include "search/SearchState.h"
#include "search/SearchSupport.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

frmFind::frmFind(Workspace* main) : QDialog(main->widget()), m_main(main)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));

    Label1 = new QLabel(QStringLiteral("Fi&nd What:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setMinimumWidth(220);
    Label1->setBuddy(txtFind);
    chkWord = new QCheckBox(QStringLiteral("Check &Whole Words Only"), this);
    chkWord->setObjectName(QStringLiteral("chkWord"));
    chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    Frame1 = new QGroupBox(QStringLiteral("Direction"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    optUp = new QRadioButton(QStringLiteral("&Up"), Frame1);
    optUp->setObjectName(QStringLiteral("optUp"));
    optDown = new QRadioButton(QStringLiteral("&Down"), Frame1);
    optDown->setObjectName(QStringLiteral("optDown"));
    optDown->setChecked(true);
    cmdFind = new QPushButton(QStringLiteral("&Find Next"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setDefault(true);
    cmdFind->setEnabled(false);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* direction = new QHBoxLayout(Frame1);
    direction->addWidget(optUp);
    direction->addWidget(optDown);
    auto* left = new QGridLayout;
    left->addWidget(Label1, 0, 0);
    left->addWidget(txtFind, 0, 1, 1, 2);
    left->addWidget(chkWord, 1, 0, 1, 2);
    left->addWidget(chkCase, 2, 0, 1, 2);
    left->addWidget(Frame1, 1, 2, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdFind);
    buttons->addWidget(Command2);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    txtFind->installEventFilter(this);
    connect(chkWord, &QCheckBox::clicked, this, &frmFind::chkWord_Click);
    connect(chkCase, &QCheckBox::clicked, this, &frmFind::chkCase_Click);
    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFind::Command2_Click);

    Form_Load();
}

void frmFind::Form_Load()
{
    if (frmDocument* document = m_main->ActiveDocument()) {
        const QString selected = document->txtText->SelText();
        if (!selected.isEmpty()) {
            txtFind->setText(selected);
            cmdFind->setEnabled(true);
        }
    }
    SearchOptions = 0;
    m_placePointer = true;  // once shown, when its buttons have their places
}

void frmFind::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placePointer)
        return;
    m_placePointer = false;
    QTimer::singleShot(0, this, [this] { placePointerOn(this, cmdFind); });
}

bool frmFind::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtFind) {
        if (event->type() == QEvent::FocusIn)
            txtFind_GotFocus();
        else if (event->type() == QEvent::KeyRelease)
            txtFind_KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

void frmFind::txtFind_GotFocus() { txtFind->selectAll(); }

void frmFind::txtFind_KeyUp() { cmdFind->setEnabled(!txtFind->text().isEmpty()); }

void frmFind::optionClicked() { SearchOptions = searchOptionsFor(chkWord->isChecked(), chkCase->isChecked()); }

search::Direction frmFind::direction() const
{
    return optUp->isChecked() ? search::Direction::Up : search::Direction::Down;
}

void frmFind::reportNotFound()
{
    search::showNotFound(txtFind->text());
    txtFind->clear();
    SearchText.clear();
    cmdFind->setEnabled(false);
}

void frmFind::cmdFind_Click()
{
    SearchText = txtFind->text();
    if (frmDocument* document = m_main->ActiveDocument()) {
        if (search::findInDirection(*document->txtText, SearchText, SearchOptions, direction(), false) == -1)
            reportNotFound();
    }
    hide();
    m_main->UpdateStatusLine();
}

frmFind* loadedFindDialog(Workspace& main)
{
    return main.widget()->findChild<frmFind*>(QString(), Qt::FindDirectChildrenOnly);
}

frmFind* findDialog(Workspace& main)
{
    frmFind* dialog = loadedFindDialog(main);
    return dialog ? dialog : new frmFind(&main);
}
