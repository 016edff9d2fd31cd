#include "print/frmPageSetup.h"

#include "core/Conversions.h"
#include "core/MessageBox.h"
#include "core/PointerPlacement.h"
#include "core/Workspace.h"
#include "print/PrintPreview.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const TagProperty = "Tag";

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(const QString& caption, const QString& name, QLineEdit* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

frmPageSetup::frmPageSetup(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPageSetup"));
    setWindowTitle(QStringLiteral("Page Setup"));

    Frame1 = new QGroupBox(QStringLiteral("Margins"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    txtLeft = addBox(QStringLiteral("txtLeft"));
    txtRight = addBox(QStringLiteral("txtRight"));
    txtTop = addBox(QStringLiteral("txtTop"));
    txtBottom = addBox(QStringLiteral("txtBottom"));
    txtHeader = addBox(QStringLiteral("txtHeader"));
    txtFooter = addBox(QStringLiteral("txtFooter"));
    Label3 = makeLabel(QStringLiteral("&Left:"), QStringLiteral("Label3"), txtLeft, this);
    Label1 = makeLabel(QStringLiteral("&Right:"), QStringLiteral("Label1"), txtRight, this);
    Label4 = makeLabel(QStringLiteral("&Top:"), QStringLiteral("Label4"), txtTop, this);
    Label2 = makeLabel(QStringLiteral("&Bottom:"), QStringLiteral("Label2"), txtBottom, this);
    Label5 = makeLabel(QStringLiteral("&Header:"), QStringLiteral("Label5"), txtHeader, this);
    Label6 = makeLabel(QStringLiteral("&Footer:"), QStringLiteral("Label6"), txtFooter, this);
    for (QLineEdit* box : marginBoxes())
        box->setMaximumWidth(70);

    cmdOK = makeButton(QStringLiteral("OK"), QStringLiteral("cmdOK"), this);
    cmdOK->setDefault(true);
    cmdCancel = makeButton(QStringLiteral("Cancel"), QStringLiteral("cmdCancel"), this);
    Command1 = makeButton(QStringLiteral("&Save"), QStringLiteral("Command1"), this);
    Command2 = makeButton(QStringLiteral("&Default"), QStringLiteral("Command2"), this);
    cmdPreview = makeButton(QStringLiteral("Pre&view..."), QStringLiteral("cmdPreview"), this);
    connect(cmdOK, &QPushButton::clicked, this, &frmPageSetup::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPageSetup::cmdCancel_Click);
    connect(Command1, &QPushButton::clicked, this, &frmPageSetup::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPageSetup::Command2_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmPageSetup::cmdPreview_Click);

    auto* margins = new QGridLayout(Frame1);
    margins->addWidget(Label3, 0, 0);
    margins->addWidget(txtLeft, 0, 1);
    margins->addWidget(Label1, 0, 2);
    margins->addWidget(txtRight, 0, 3);
    margins->addWidget(Label4, 1, 0);
    margins->addWidget(txtTop, 1, 1);
    margins->addWidget(Label2, 1, 2);
    margins->addWidget(txtBottom, 1, 3);
    auto* texts = new QGridLayout;
    texts->addWidget(Label5, 0, 0);
    texts->addWidget(txtHeader, 0, 1);
    texts->addWidget(Label6, 1, 0);
    texts->addWidget(txtFooter, 1, 1);
    auto* fields = new QVBoxLayout;
    fields->addWidget(Frame1);
    fields->addLayout(texts);
    fields->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cmdOK, cmdCancel, Command1, Command2, cmdPreview})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

QLineEdit* frmPageSetup::addBox(const QString& name)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->installEventFilter(this);
    return box;
}

QList<QLineEdit*> frmPageSetup::marginBoxes() const { return {txtLeft, txtRight, txtTop, txtBottom}; }

void frmPageSetup::Form_Load()
{
    // Closing the window any other way than with OK counts as Cancel.
    setOkTag(QStringLiteral("Cancel"));
}

void frmPageSetup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { placePointerOn(this, cmdOK); });
}

QString frmPageSetup::okTag() const { return cmdOK->property(TagProperty).toString(); }

void frmPageSetup::setOkTag(const QString& tag) { cmdOK->setProperty(TagProperty, tag); }

void frmPageSetup::fill(const PageSettings& settings)
{
    txtHeader->setText(settings.PageHeader);
    txtFooter->setText(settings.PageFooter);
    txtLeft->setText(marginBoxText(settings.MarginLeft));
    txtRight->setText(marginBoxText(settings.MarginRight));
    txtTop->setText(marginBoxText(settings.MarginTop));
    txtBottom->setText(marginBoxText(settings.MarginBottom));
}

PageSettings frmPageSetup::boxSettings(const QDate& today) const
{
    PageSettings settings;
    settings.PageHeader = expandDateHeader(txtHeader->text(), today);
    settings.PageFooter = txtFooter->text();
    settings.MarginLeft = marginInches(txtLeft->text());
    settings.MarginRight = marginInches(txtRight->text());
    settings.MarginTop = marginInches(txtTop->text());
    settings.MarginBottom = marginInches(txtBottom->text());
    return settings;
}

bool frmPageSetup::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusIn) {
        box->selectAll();
    } else if (box && event->type() == QEvent::KeyPress && marginBoxes().contains(box)) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1 && typed[0].unicode() >= 32 && !txtMargin_KeyPress(box, typed[0]))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool frmPageSetup::txtMargin_KeyPress(QLineEdit* box, QChar key)
{
    if (key.unicode() < 32)
        return true;  // Backspace and the other control keys pass
    CheckPeriod(box);
    if ((key >= u'0' && key <= u'9') || key == u'.')
        return true;
    Beep();
    return false;
}

void frmPageSetup::CheckPeriod(QLineEdit* box)
{
    const QString text = box->text();
    const qsizetype first = text.indexOf(u'.');
    if (first < 0 || text.indexOf(u'.', first + 1) < 0)
        return;
    const int selStart = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    if (selStart < 1)
        return;
    box->setSelection(selStart - 1, 1);
    box->del();
}

bool frmPageSetup::marginsValid() const
{
    for (const QLineEdit* box : marginBoxes()) {
        if (!isMarginEntry(box->text()))
            return false;
    }
    return true;
}

void frmPageSetup::cmdOK_Click()
{
    if (!marginsValid()) {
        MsgBox(QStringLiteral("Invalid margin entry!"), vb::vbExclamation | vb::vbOKOnly);
        return;
    }
    setOkTag(QStringLiteral("OK"));
    accept();
}

void frmPageSetup::cmdCancel_Click()
{
    setOkTag(QStringLiteral("Cancel"));
    reject();
}

void frmPageSetup::Command1_Click()
{
    const auto orNone = [](const QString& text) { return text.isEmpty() ? NoHeaderOrFooter : text; };
    writeStoredPageSetup({orNone(txtHeader->text()), orNone(txtFooter->text()), txtLeft->text(),
                          txtRight->text(), txtTop->text(), txtBottom->text()});
}

void frmPageSetup::Command2_Click()
{
    txtHeader->setText(QStringLiteral("&f"));
    txtFooter->setText(QStringLiteral("Page &p"));
    txtLeft->setText(QStringLiteral(".75"));
    txtRight->setText(QStringLiteral(".75"));
    txtTop->setText(QStringLiteral(".5"));
    txtBottom->setText(QStringLiteral("0"));
}

// The pages as they would print with the values in the boxes.
void frmPageSetup::cmdPreview_Click()
{
    if (!marginsValid()) {
        MsgBox(QStringLiteral("Invalid margin entry!"), vb::vbExclamation | vb::vbOKOnly);
        return;
    }
    ShowPrintPreview(this, boxSettings(QDate::currentDate()));
}

void ShowPageSetup()
{
    pageSettings() = pageSettingsFromStored(readStoredPageSetup(), QDate::currentDate());
    frmPageSetup dialog(Workspace::mainWidget());
    dialog.fill(pageSettings());
    dialog.exec();
    if (dialog.okTag().contains(QLatin1String("OK")))
        pageSettings() = dialog.boxSettings(QDate::currentDate());
}
