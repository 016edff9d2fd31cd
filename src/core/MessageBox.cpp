#include "core/MessageBox.h"

#include "core/Settings.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class RealMessageBoxes : public MessageBoxHandler {
public:
    int show(QWidget* parent, const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(title);
        QString text = prompt;
        box.setText(text.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        switch (style & 0x70) {
        case vb::vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vb::vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vb::vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vb::vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        switch (style & 0x7) {
        case vb::vbOKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case vb::vbYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case vb::vbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
        }
        switch (box.exec()) {
        case QMessageBox::Cancel: return vb::vbCancel;
        case QMessageBox::Yes: return vb::vbYes;
        case QMessageBox::No: return vb::vbNo;
        default: return vb::vbOK;
        }
    }
};

RealMessageBoxes realBoxes;
MessageBoxHandler* currentHandler = &realBoxes;

}  // namespace

int MsgBox(const QString& prompt, int style, const QString& title)
{
    QWidget* parent = QApplication::activeWindow();
    return currentHandler->show(parent, prompt, style, title.isNull() ? AppTitle : title);
}

void setMessageBoxHandler(MessageBoxHandler* handler)
{
    currentHandler = handler ? handler : &realBoxes;
}

void Beep() { QApplication::beep(); }
