#include "editing/frmTime.h"

#include "core/Clipboard.h"
#include "core/PointerPlacement.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/DateTimeEntries.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

frmTime::frmTime(QWidget* parent, const QDateTime& now, const QLocale& locale) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTime"));
    setWindowTitle(QStringLiteral("Date and Time"));
    if (parent)
        setWindowIcon(parent->windowIcon());

    Label2 = new QLabel(this);  // a thin strip along the top edge
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFixedHeight(3);
    Label2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("&Available formats:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumSize(280, 260);
    Label1->setBuddy(List1);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("&Default"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    connect(Command1, &QPushButton::clicked, this, &frmTime::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command3, &QPushButton::clicked, this, &frmTime::Command3_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frmTime::Command1_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addSpacing(12);
    buttons->addWidget(Command3);
    buttons->addStretch();
    auto* list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(List1);
    auto* body = new QHBoxLayout;
    body->addLayout(list);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load(now, locale);
}

void frmTime::Form_Load(const QDateTime& now, const QLocale& locale)
{
    List1->addItems(dateTimeEntries(now, locale));
    List1->setCurrentRow(preselectedDateTimeEntry(
        GetSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format"))));
    List1->setFocus();
}

void frmTime::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { placePointerOn(this, Command1); });
}

void frmTime::Command1_Click()
{
    const QListWidgetItem* chosen = List1->currentItem();
    Workspace* main = Workspace::instance();
    frmDocument* document = main ? main->ActiveDocument() : nullptr;
    if (chosen && document) {
        const QString remembered = Clipboard::GetText();
        Clipboard::Clear();
        Clipboard::SetText(chosen->text());
        document->txtText->setSelText(Clipboard::GetText());
        if (remembered.isEmpty())
            Clipboard::Clear();
        else
            Clipboard::SetText(remembered);
    }
    accept();
}

void frmTime::Command3_Click()
{
    SaveSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format"),
                QString::number(List1->currentRow()));
}
