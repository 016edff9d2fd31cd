#include "print/PCANCEL.h"

#include "core/MessageBox.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "print/PainterPrinter.h"
#include "print/PrintJob.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString CancelMark = QStringLiteral("CANCEL");
PCANCEL* openWindow = nullptr;

}  // namespace

PCANCEL::PCANCEL(QPrinter& printer) : QDialog(nullptr), m_printer(printer)
{
    setObjectName(QStringLiteral("PCANCEL"));
    setWindowTitle(AppTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    Label1 = new QLabel(QStringLiteral("Printing..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &PCANCEL::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(220);
}

PCANCEL::~PCANCEL()
{
    if (openWindow == this)
        openWindow = nullptr;
}

PCANCEL* PCANCEL::running() { return openWindow; }

PCANCEL* PCANCEL::showPrinting(QPrinter& printer)
{
    if (openWindow) {
        openWindow->raise();
        openWindow->activateWindow();
        return openWindow;
    }
    openWindow = new PCANCEL(printer);
    openWindow->show();
    return openWindow;
}

// The job starts on activation; a window system that does not activate new
// windows gets it once the window is up.
void PCANCEL::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &PCANCEL::Form_Activate);
}

bool PCANCEL::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void PCANCEL::Form_Activate()
{
    // Events are processed during the job, so a later activation must not
    // print again.
    if (m_activated)
        return;
    m_activated = true;
    Tag.clear();
    repaint();
    m_printing = true;
    printActiveDocument();
    m_printing = false;
    // A Cancel press still waiting in the queue is handled here.
    QCoreApplication::processEvents();
    close();
}

void PCANCEL::printActiveDocument()
{
    const QString header = HeaderText();
    if (Tag == CancelMark)
        return;
    Workspace* main = Workspace::instance();
    if (!main || !main->ActiveDocument())
        return;
    PrintJob job = activeDocumentJob(main, pageSettings());
    job.header = header;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    PainterPrinter device(m_printer);
    m_device = &device;
    // Once a page the window answers, so that Cancel can stop the job.
    runPrintJob(device, job, [this, &device] {
        QCoreApplication::processEvents();
        return Tag != CancelMark && !device.failed();
    });
    m_device = nullptr;
    QApplication::restoreOverrideCursor();
    if (device.failed())
        MsgBox(QStringLiteral("The document could not be printed. Choose a printer or a PDF file in Print Setup."),
               vb::vbExclamation);
}

void PCANCEL::Command1_Click()
{
    Tag = CancelMark;
    if (m_device)
        m_device->KillDoc();
}

void PCANCEL::reject()
{
    Command1_Click();
}

void PCANCEL::closeEvent(QCloseEvent* event)
{
    // The close box during the job works as Cancel; the window closes itself
    // once the job has stopped.
    if (m_printing) {
        Command1_Click();
        event->ignore();
        return;
    }
    event->accept();
}

void PCANCEL::Command1_MouseMove(int button, double x, double y)
{
    if (button != 1)
        return;
    const bool outside = x <= 0 || x > Command1->width() || y < 0 || y > Command1->height();
    setCursor(outside ? Qt::WaitCursor : Qt::ArrowCursor);
}

bool PCANCEL::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Command1 && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() & Qt::LeftButton)
            Command1_MouseMove(1, move->position().x(), move->position().y());
    }
    return QDialog::eventFilter(watched, event);
}
