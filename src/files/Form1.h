#pragma once
// The File Types dialog: six rows of extension and display name that the
// file dialogs offer.
#include "files/FileFilter.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

class Form1 : public QDialog {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    std::array<QLineEdit*, 6> Text1{};  // extensions
    std::array<QLineEdit*, 6> Text2{};  // names
    QPushButton* Command1 = nullptr;    // OK
    QPushButton* Command2 = nullptr;    // Cancel
    QPushButton* Command3 = nullptr;    // Default

    FileTypeRows rows() const;
    void showRows(const FileTypeRows& rows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Command1_Click();
    void Command3_Click();
};
