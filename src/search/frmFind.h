#pragma once
// The Find dialog. Loaded on its first use and afterwards only hidden, so it
// keeps its text, check boxes and direction between uses; its load steps run
// once. A search from it sets SearchText, which Find Next repeats.
#include "search/SearchSteps.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Workspace;

class frmFind : public QDialog {
    Q_OBJECT
public:
    explicit frmFind(Workspace* main);

    QLabel* Label1 = nullptr;
    QLineEdit* txtFind = nullptr;
    QCheckBox* chkWord = nullptr;
    QCheckBox* chkCase = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optUp = nullptr;
    QRadioButton* optDown = nullptr;
    QPushButton* cmdFind = nullptr;   // Find Next
    QPushButton* Command2 = nullptr;  // Cancel

    void txtFind_GotFocus();
    void txtFind_KeyUp();
    void chkWord_Click() { optionClicked(); }
    void chkCase_Click() { optionClicked(); }
    void cmdFind_Click();
    void Command2_Click() { hide(); }

    search::Direction direction() const;

    // The not-found message quoting the text box, then the text box, the
    // Find Next button and SearchText are cleared.
    void reportNotFound();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void optionClicked();

    Workspace* m_main;
    bool m_placePointer = false;
};

// The main window's Find dialog, or nullptr while it is not loaded.
frmFind* loadedFindDialog(Workspace& main);
// The Find dialog, loaded first if need be.
frmFind* findDialog(Workspace& main);
