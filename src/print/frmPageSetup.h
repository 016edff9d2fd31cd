#pragma once
// The Page Setup dialog: the four margins in inches, the header and footer
// texts, OK and Cancel, Save to the store and Default texts. Its result is
// the Tag of cmdOK: "OK" or "Cancel".
#include "print/PageSettings.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmPageSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmPageSetup(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtLeft = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtRight = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtTop = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtBottom = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtHeader = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtFooter = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* Command1 = nullptr;  // Save
    QPushButton* Command2 = nullptr;  // Default
    QPushButton* cmdPreview = nullptr;

    QString okTag() const;

    // Puts the settings into the boxes.
    void fill(const PageSettings& settings);
    // The boxes as page settings ("&d" alone becomes the date).
    PageSettings boxSettings(const QDate& today) const;

    // A key typed into a margin box; false when it is refused (after a beep).
    bool txtMargin_KeyPress(QLineEdit* box, QChar key);
    static void CheckPeriod(QLineEdit* box);

    void cmdOK_Click();
    void cmdCancel_Click();
    void Command1_Click();
    void Command2_Click();
    void cmdPreview_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void setOkTag(const QString& tag);
    QLineEdit* addBox(const QString& name);
    QList<QLineEdit*> marginBoxes() const;
    bool marginsValid() const;
};
