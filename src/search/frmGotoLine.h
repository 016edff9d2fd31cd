#pragma once
// The Go To Line dialog: a line number, digits only. Closed by both of its
// buttons, so every use starts empty.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;

class frmGotoLine : public QDialog {
    Q_OBJECT
public:
    explicit frmGotoLine(Workspace* main);

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // False when the typed character is refused (after a beep).
    bool Text1_KeyPress(QChar character);
    void Text1_KeyUp();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void goToLine();

    Workspace* m_main;
};
