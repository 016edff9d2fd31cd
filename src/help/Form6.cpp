#include "help/Form6.h"

#include "core/PointerPlacement.h"
#include "core/Units.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* label(const QString& text, const QString& name, QWidget* parent)
{
    auto* made = new QLabel(text, parent);
    made->setObjectName(name);
    return made;
}

}  // namespace

Form6::Form6(QWidget* owner, const MemoryStatus& memory) : QDialog(owner)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("About Pagewell"));
    setModal(true);
    createControls();
    Form_Load(owner, memory);
}

void Form6::createControls()
{
    Picture1 = label(QString(), QStringLiteral("Picture1"), this);
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Label2 = label(QStringLiteral("Pagewell\u2122  V5.0"), QStringLiteral("Label2"), this);
    QFont title(QStringLiteral("Times New Roman"), 18, QFont::Bold);
    Label2->setFont(title);
    Label1 = label(maker::Name, QStringLiteral("Label1"), this);
    Label3 = label(maker::Street, QStringLiteral("Label3"), this);
    Label4 = label(maker::City, QStringLiteral("Label4"), this);
    Label5 = label(maker::Telephone, QStringLiteral("Label5"), this);
    Label6 = label(QString(), QStringLiteral("Label6"), this);
    Label7 = label(QString(), QStringLiteral("Label7"), this);
    Label8 = label(maker::Notice, QStringLiteral("Label8"), this);
    Label8->setWordWrap(true);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* text = new QVBoxLayout;
    text->addWidget(Label2);
    text->addSpacing(6);
    for (QLabel* each : {Label1, Label3, Label4, Label5})
        text->addWidget(each);
    text->addSpacing(8);
    text->addWidget(line);
    text->addWidget(Label6);
    text->addWidget(Label7);
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(Picture1, 0, 0);
    grid->addLayout(text, 0, 1, 1, 2);
    grid->addWidget(Label8, 1, 0, 1, 2);
    grid->addWidget(Command1, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(1, 1);
    Label8->setMinimumWidth(300);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void Form6::Form_Load(QWidget* owner, const MemoryStatus& memory)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QIcon icon = owner ? owner->windowIcon() : QApplication::windowIcon();
    setWindowIcon(icon);
    Picture1->setPixmap(icon.pixmap(32, 32));
    Label6->setText(memoryAvailableLine(memory.totalPhysicalBytes, QLocale::system().groupSeparator()));
    Label7->setText(memoryInUseLine(memory.memoryLoad));
    if (owner) {
        const QPoint corner = owner->frameGeometry().topLeft();
        move(corner + QPoint(units::twipsToPixelsX(4200), units::twipsToPixelsY(1600)));
    }
    QApplication::restoreOverrideCursor();
}

void Form6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placePointerOn(this, Command1, AboutCaptionOffset);
}
