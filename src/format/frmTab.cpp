#include "format/frmTab.h"

#include "core/PointerPlacement.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/TabStops.h"
#include "document/frmDocument.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmTab::frmTab(Workspace* main) : QDialog(main->widget()), m_main(main)
{
    setObjectName(QStringLiteral("frmTab"));
    setWindowTitle(QStringLiteral("Tab Set"));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFixedHeight(3);
    Label2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("Tab Set"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = new QComboBox(this);  // a drop-down list: nothing can be typed
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(90);
    Label1->setBuddy(Combo1);

    Command1 = new QPushButton(QStringLiteral("&Set"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmTab::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmTab::Command2_Click);

    auto* list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(Combo1);
    list->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    auto* body = new QHBoxLayout;
    body->addLayout(list);
    body->addSpacing(12);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void frmTab::Form_Load()
{
    if (m_main)
        setWindowIcon(m_main->widget()->windowIcon());
    Combo1->addItems(tabSetEntries());
    Combo1->setCurrentIndex(preselectedTabSetEntry(GetSetting(AppTitle, QStringLiteral("Tab Set"), QStringLiteral("Tab"))));
    Combo1->setFocus();
}

bool frmTab::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void frmTab::Form_Activate() { placePointerOn(this, Command1); }

void frmTab::Command1_Click()
{
    const int count = Combo1->currentIndex() + 1;
    frmDocument* document = m_main ? m_main->ActiveDocument() : nullptr;
    if (document && count > 0) {
        RichTextBox* text = document->txtText;
        text->setSelTabCount(count);
        const QList<int> stops = evenTabStops(text->Width(), count);
        for (int i = 0; i < stops.size(); ++i)
            text->setSelTabs(i, stops[i]);
        SaveSetting(AppTitle, QStringLiteral("Tab Set"), QStringLiteral("Tab"), Combo1->currentText());
    }
    accept();
}

void frmTab::Command2_Click() { reject(); }
