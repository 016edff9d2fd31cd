#include "app/CustomizeToolbarDialog.h"

#include "core/ToolbarIcons.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString SeparatorCaption = QStringLiteral("Separator");

QListWidgetItem* entryItem(const QString& entry)
{
    const bool separator = entry == ToolbarLayout::Separator;
    auto* item = new QListWidgetItem(separator ? toolbarSeparatorIcon()
                                               : toolbarIcon(ToolbarLayout::imageNumber(entry)),
                                     separator ? SeparatorCaption : entry);
    item->setData(Qt::UserRole, entry);
    return item;
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    auto* push = new QPushButton(caption, parent);
    push->setObjectName(name);
    return push;
}

}  // namespace

CustomizeToolbarDialog::CustomizeToolbarDialog(const ToolbarLayout& layout, QWidget* parent)
    : QDialog(parent), m_layout(layout)
{
    setObjectName(QStringLiteral("frmCustomizeToolbar"));
    setWindowTitle(QStringLiteral("Customize Toolbar"));
    setModal(true);
    createControls();
    fillLists(0, 0);
}

void CustomizeToolbarDialog::createControls()
{
    lstAvailable = new QListWidget(this);
    lstAvailable->setObjectName(QStringLiteral("lstAvailable"));
    lstCurrent = new QListWidget(this);
    lstCurrent->setObjectName(QStringLiteral("lstCurrent"));
    for (QListWidget* list : {lstAvailable, lstCurrent}) {
        list->setIconSize(QSize(16, 16));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumSize(170, 230);
        connect(list, &QListWidget::currentRowChanged, this, &CustomizeToolbarDialog::updateButtons);
    }
    auto* lblAvailable = new QLabel(QStringLiteral("A&vailable toolbar buttons:"), this);
    lblAvailable->setObjectName(QStringLiteral("lblAvailable"));
    lblAvailable->setBuddy(lstAvailable);
    auto* lblCurrent = new QLabel(QStringLiteral("Current toolbar &buttons:"), this);
    lblCurrent->setObjectName(QStringLiteral("lblCurrent"));
    lblCurrent->setBuddy(lstCurrent);

    cmdAdd = button(QStringLiteral("&Add ->"), QStringLiteral("cmdAdd"), this);
    cmdRemove = button(QStringLiteral("<- &Remove"), QStringLiteral("cmdRemove"), this);
    cmdClose = button(QStringLiteral("&Close"), QStringLiteral("cmdClose"), this);
    cmdReset = button(QStringLiteral("Re&set"), QStringLiteral("cmdReset"), this);
    cmdMoveUp = button(QStringLiteral("Move &Up"), QStringLiteral("cmdMoveUp"), this);
    cmdMoveDown = button(QStringLiteral("Move &Down"), QStringLiteral("cmdMoveDown"), this);
    cmdClose->setDefault(true);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(cmdAdd);
    middle->addWidget(cmdRemove);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(cmdClose);
    right->addWidget(cmdReset);
    right->addSpacing(16);
    right->addWidget(cmdMoveUp);
    right->addWidget(cmdMoveDown);
    right->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(lblAvailable, 0, 0);
    grid->addWidget(lblCurrent, 0, 2);
    grid->addWidget(lstAvailable, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(lstCurrent, 1, 2);
    grid->addLayout(right, 0, 3, 2, 1);

    // Delete in the bar's list takes the entry off, as Remove does.
    auto* removeKey = new QAction(lstCurrent);
    removeKey->setShortcut(QKeySequence::Delete);
    removeKey->setShortcutContext(Qt::WidgetShortcut);
    lstCurrent->addAction(removeKey);

    connect(cmdAdd, &QPushButton::clicked, this, &CustomizeToolbarDialog::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &CustomizeToolbarDialog::cmdRemove_Click);
    connect(removeKey, &QAction::triggered, this, &CustomizeToolbarDialog::cmdRemove_Click);
    connect(cmdMoveUp, &QPushButton::clicked, this, &CustomizeToolbarDialog::cmdMoveUp_Click);
    connect(cmdMoveDown, &QPushButton::clicked, this, &CustomizeToolbarDialog::cmdMoveDown_Click);
    connect(cmdReset, &QPushButton::clicked, this, &CustomizeToolbarDialog::cmdReset_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstAvailable, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::lstAvailable_DblClick);
    connect(lstCurrent, &QListWidget::itemDoubleClicked, this, &CustomizeToolbarDialog::lstCurrent_DblClick);
}

QString CustomizeToolbarDialog::selectedAvailableEntry() const
{
    const QListWidgetItem* item = lstAvailable->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

int CustomizeToolbarDialog::selectedCurrentRow() const { return lstCurrent->currentRow(); }

int CustomizeToolbarDialog::availableRowOf(const ToolbarLayout& layout, const QString& entry)
{
    return entry == ToolbarLayout::Separator ? 0 : int(layout.missingButtons().indexOf(entry)) + 1;
}

// New entries go after the selected one, or to the end of the bar.
void CustomizeToolbarDialog::cmdAdd_Click()
{
    const QString entry = selectedAvailableEntry();
    if (entry.isEmpty())
        return;
    const int after = selectedCurrentRow() >= 0 ? selectedCurrentRow() : m_layout.count() - 1;
    apply(toolbaredit::add(m_layout, entry, after), after + 1, lstAvailable->currentRow());
}

void CustomizeToolbarDialog::cmdRemove_Click()
{
    const int row = selectedCurrentRow();
    const auto changed = toolbaredit::remove(m_layout, row);
    if (changed)
        apply(changed, row, availableRowOf(*changed, m_layout.entries().value(row)));
}

void CustomizeToolbarDialog::cmdMoveUp_Click()
{
    const int row = selectedCurrentRow();
    apply(toolbaredit::moveUp(m_layout, row), row - 1, lstAvailable->currentRow());
}

void CustomizeToolbarDialog::cmdMoveDown_Click()
{
    const int row = selectedCurrentRow();
    apply(toolbaredit::moveDown(m_layout, row), row + 1, lstAvailable->currentRow());
}

void CustomizeToolbarDialog::cmdReset_Click() { apply(toolbaredit::reset(), 0, 0); }

void CustomizeToolbarDialog::lstAvailable_DblClick(QListWidgetItem* item)
{
    lstAvailable->setCurrentItem(item);
    cmdAdd_Click();
}

void CustomizeToolbarDialog::lstCurrent_DblClick(QListWidgetItem* item)
{
    lstCurrent->setCurrentItem(item);
    cmdRemove_Click();
}

void CustomizeToolbarDialog::apply(const std::optional<ToolbarLayout>& changed, int currentRow, int availableRow)
{
    if (!changed)
        return;
    const bool different = *changed != m_layout;
    m_layout = *changed;
    fillLists(currentRow, availableRow);
    if (different)
        emit layoutChanged(m_layout);
}

void CustomizeToolbarDialog::fillLists(int currentRow, int availableRow)
{
    lstAvailable->clear();
    lstAvailable->addItem(entryItem(ToolbarLayout::Separator));
    for (const QString& key : m_layout.missingButtons())
        lstAvailable->addItem(entryItem(key));
    lstCurrent->clear();
    for (const QString& entry : m_layout.entries())
        lstCurrent->addItem(entryItem(entry));
    lstAvailable->setCurrentRow(std::clamp(availableRow, 0, lstAvailable->count() - 1));
    if (lstCurrent->count() > 0)
        lstCurrent->setCurrentRow(std::clamp(currentRow, 0, lstCurrent->count() - 1));
    updateButtons();
}

void CustomizeToolbarDialog::updateButtons()
{
    const int row = selectedCurrentRow();
    const int after = row >= 0 ? row : m_layout.count() - 1;
    const QString entry = selectedAvailableEntry();
    cmdAdd->setEnabled(!entry.isEmpty() && toolbaredit::add(m_layout, entry, after).has_value());
    cmdRemove->setEnabled(toolbaredit::remove(m_layout, row).has_value());
    cmdMoveUp->setEnabled(toolbaredit::moveUp(m_layout, row).has_value());
    cmdMoveDown->setEnabled(toolbaredit::moveDown(m_layout, row).has_value());
    cmdReset->setEnabled(m_layout != ToolbarLayout::standard());
}
