#include "files/Form1.h"

#include "core/MessageBox.h"
#include "core/PointerPlacement.h"
#include "core/Settings.h"
#include "files/FileTypes.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

Form1::Form1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(AppTitle);
    if (parent)
        setWindowIcon(parent->windowIcon());

    auto* heading = new QLabel(QStringLiteral("File Types"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    QFont headingFont(QStringLiteral("Arial"));
    headingFont.setPointSize(12);
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Extension"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Name"), this), 0, 2);
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QStringLiteral("%1.").arg(i + 1), this), i + 1, 0);
        Text1[size_t(i)] = new QLineEdit(this);
        Text1[size_t(i)]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[size_t(i)]->setMaximumWidth(90);
        Text2[size_t(i)] = new QLineEdit(this);
        Text2[size_t(i)]->setObjectName(QStringLiteral("Text2_%1").arg(i));
        Text2[size_t(i)]->setMinimumWidth(180);
        grid->addWidget(Text1[size_t(i)], i + 1, 1);
        grid->addWidget(Text2[size_t(i)], i + 1, 2);
        Text1[size_t(i)]->installEventFilter(this);
        Text2[size_t(i)]->installEventFilter(this);
    }

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("Default"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void Form1::Form_Load()
{
    const FileTypeRows stored = storedFileTypeRows();
    showRows(stored[0].extension.isEmpty() ? initialFileTypeRows() : stored);
}

void Form1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { placePointerOn(this, Command1); });
}

FileTypeRows Form1::rows() const
{
    FileTypeRows rows;
    for (size_t i = 0; i < 6; ++i)
        rows[i] = {Text1[i]->text(), Text2[i]->text()};
    return rows;
}

void Form1::showRows(const FileTypeRows& rows)
{
    for (size_t i = 0; i < 6; ++i) {
        Text1[i]->setText(rows[i].extension);
        Text2[i]->setText(rows[i].name);
    }
}

void Form1::Command1_Click()
{
    storeFileTypeRows(rows());
    accept();
}

void Form1::Command3_Click() { showRows(initialFileTypeRows()); }

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, box, &QLineEdit::selectAll);  // after the click places the caret
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Only typed characters (Backspace included) are subject to the rules;
    // Enter, Esc and Tab keep working the dialog.
    const QString typed = key->text();
    if (typed.isEmpty() || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    const auto row = std::find(Text2.begin(), Text2.end(), box);
    const bool accepted = row == Text2.end()
                              ? extensionBoxAcceptsKey(typed.at(0))
                              : nameBoxAcceptsKey(Text1[size_t(row - Text2.begin())]->text());
    if (!accepted)
        Beep();
    return !accepted;
}
