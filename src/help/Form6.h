#pragma once
// The About box: the program's name and version, the maker's address and
// the machine's physical memory.
#include "help/MemoryStatus.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The maker's lines of the About box.
namespace maker {
inline const QString Name = QStringLiteral("Pagewell Software");
inline const QString Street = QStringLiteral("12 Quay Street");
inline const QString City = QStringLiteral("Bristol BS1 4QA, United Kingdom");
inline const QString Telephone = QStringLiteral("Telephone: +44 117 496 0500");
inline const QString Notice = QStringLiteral(
    "Copyright \u00A9 Pagewell Software. All rights reserved. This program is protected by "
    "copyright law; copying or passing it on without permission is not allowed.");
}  // namespace maker

class Form6 : public QDialog {
    Q_OBJECT
public:
    // Placed 4200 and 1600 twips right of and below the owner's top-left corner.
    explicit Form6(QWidget* owner, const MemoryStatus& memory = GlobalMemoryStatus());

    QLabel* Picture1 = nullptr;
    QLabel* Label2 = nullptr;  // "Pagewell™  V5.0"
    QLabel* Label1 = nullptr;  // the maker's name
    QLabel* Label3 = nullptr;  // street
    QLabel* Label4 = nullptr;  // city
    QLabel* Label5 = nullptr;  // telephone
    QLabel* Label8 = nullptr;  // notice
    QLabel* Label6 = nullptr;  // physical memory
    QLabel* Label7 = nullptr;  // memory in use
    QPushButton* Command1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void Form_Load(QWidget* owner, const MemoryStatus& memory);
};
