#pragma once
// Customize Toolbar: the buttons that are not on the bar on the left, the
// bar's entries in order on the right. Every edit is reported at once with
// layoutChanged, so the bar and the stored layout follow while it is open.
#include "core/ToolbarLayout.h"

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

class CustomizeToolbarDialog : public QDialog {
    Q_OBJECT
public:
    explicit CustomizeToolbarDialog(const ToolbarLayout& layout, QWidget* parent = nullptr);

    ToolbarLayout layout() const { return m_layout; }

signals:
    void layoutChanged(const ToolbarLayout& layout);

private:
    void createControls();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdReset_Click();
    void lstAvailable_DblClick(QListWidgetItem* item);
    void lstCurrent_DblClick(QListWidgetItem* item);

    // Takes a new layout, shows it with these rows selected and reports it.
    void apply(const std::optional<ToolbarLayout>& changed, int currentRow, int availableRow);
    void fillLists(int currentRow, int availableRow);
    // Where an entry stands in the left list of a layout.
    static int availableRowOf(const ToolbarLayout& layout, const QString& entry);
    void updateButtons();
    QString selectedAvailableEntry() const;
    int selectedCurrentRow() const;

    ToolbarLayout m_layout;
    QListWidget* lstAvailable = nullptr;
    QListWidget* lstCurrent = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdMoveUp = nullptr;
    QPushButton* cmdMoveDown = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdClose = nullptr;
};
