#pragma once
// The printing window: "Printing..." and Cancel. It prints the active
// document as soon as it is shown and activated, then closes itself. Its Tag
// is the cancel mark, "CANCEL" once Cancel has been pressed.
#include <QDialog>

class QLabel;
class QPrinter;
class QPushButton;
class PainterPrinter;

class PCANCEL : public QDialog {
    Q_OBJECT
public:
    // The job prints on `printer`; the window deletes itself when it closes.
    explicit PCANCEL(QPrinter& printer);
    ~PCANCEL() override;

    // The Print command: a new window without owner, shown modeless; while
    // a job runs, the running one is brought to the front instead.
    static PCANCEL* showPrinting(QPrinter& printer);
    // The window that showPrinting opened and that has not closed yet.
    static PCANCEL* running();

    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QString Tag;

    void Form_Activate();
    void Command1_Click();
    void Command1_MouseMove(int button, double x, double y);

public slots:
    void reject() override;  // Esc is the Cancel button

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void printActiveDocument();

    QPrinter& m_printer;
    PainterPrinter* m_device = nullptr;  // during the job
    bool m_activated = false;
    bool m_printing = false;
};
