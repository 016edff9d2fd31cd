#pragma once
// The Date and Time dialog: the moment it opened in fifteen formats; the
// chosen one goes into the document at the caret.
#include <QDateTime>
#include <QDialog>
#include <QLocale>

class QLabel;
class QListWidget;
class QPushButton;

class frmTime : public QDialog {
    Q_OBJECT
public:
    explicit frmTime(QWidget* parent = nullptr, const QDateTime& now = QDateTime::currentDateTime(),
                     const QLocale& locale = QLocale());

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;  // OK
    QPushButton* Command2 = nullptr;  // Cancel
    QPushButton* Command3 = nullptr;  // Default

    void Command1_Click();
    void Command3_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load(const QDateTime& now, const QLocale& locale);
};
