#pragma once
// The Replace dialog. Hidden by Cancel and by a failed search, so it keeps
// its texts, check boxes and Label3 between uses; Replace All unloads it, so
// that its next use starts afresh. Label3 (invisible) holds the position
// where Replace All and Replace Next start their next search.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Workspace;

class frmReplace : public QDialog {
    Q_OBJECT
public:
    explicit frmReplace(Workspace* main);

    QLabel* Label1 = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtReplace = nullptr;
    QCheckBox* chkWord = nullptr;
    QCheckBox* chkCase = nullptr;
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdAll = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* Label3 = nullptr;

    void txtFind_GotFocus();
    void txtFind_KeyUp();
    void txtReplace_KeyUp();
    void cmdFind_Click();
    void cmdReplace_Click();
    void cmdAll_Click();
    void cmdCancel_Click() { hide(); }

    // Replace Next: the next match from Label3 replaced, without the dialog.
    void replaceNext();

    int options() const;       // the Find options of the two check boxes
    int nextPosition() const;  // Label3's value
    bool isUnloaded() const { return m_unloaded; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Unload();
    // Replace and Replace All refuse an empty Find What with a message.
    bool findBoxFilled() const;
    // Label3 takes where the next search starts. A step that found nothing
    // shows the not-found message, empties Find What (and the replacement
    // with clearReplacement) and disables the commands; returns false then.
    bool stepDone(int next, bool clearReplacement);

    Workspace* m_main;
    bool m_placePointer = false;
    bool m_unloaded = false;
};

// The main window's loaded Replace dialog, or nullptr.
frmReplace* loadedReplaceDialog(Workspace& main);
// The Replace dialog, loaded first if need be.
frmReplace* replaceDialog(Workspace& main);
