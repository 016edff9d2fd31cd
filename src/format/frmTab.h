#pragma once
// The Tab Set dialog: how many evenly spaced tab stops (1 to 10) the
// selected paragraphs of the active document get. Closed after each use.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class Workspace;

class frmTab : public QDialog {
    Q_OBJECT
public:
    explicit frmTab(Workspace* main);

    QLabel* Label2 = nullptr;  // a thin strip along the top edge
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;  // Set
    QPushButton* Command2 = nullptr;  // Cancel

    void Command1_Click();
    void Command2_Click();

protected:
    bool event(QEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();

    Workspace* m_main;
};
