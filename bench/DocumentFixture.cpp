#include "DocumentFixture.h"

#include "app/frmMain.h"
#include "core/Settings.h"
#include "core/Units.h"
#include "document/RichTextBox.h"
#include "document/TextFileCodec.h"
#include "document/frmDocument.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace bench {

namespace {

// Notes that a widget received a paint event; the event itself goes on.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* canvas) : m_canvas(canvas) { canvas->installEventFilter(this); }
    ~PaintWatch() override { m_canvas->removeEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_canvas && event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

private:
    QWidget* m_canvas;
};

// The first start's placement, as the main window's load would restore it.
constexpr double FirstStartSizeTwips = 6500;

}  // namespace

void storeWordWrap(bool on)
{
    SaveSetting(AppTitle, QStringLiteral("WordWrap"), QStringLiteral("Wrap"),
                on ? QStringLiteral("True") : QStringLiteral("False"));
}

bool paintFirstScreen(QWidget* window, QWidget* canvas)
{
    PaintWatch watch(canvas);
    if (!window->isVisible())
        window->show();
    // Painting returns synchronously, so a seen paint event is a finished one.
    for (int attempt = 0; attempt < 100 && !watch.painted; ++attempt) {
        QCoreApplication::processEvents();
        if (!watch.painted)
            canvas->repaint();
    }
    return watch.painted;
}

OpenedDocument::OpenedDocument() : m_main(new frmMain)
{
    m_main->resize(units::twipsToPixelsX(FirstStartSizeTwips), units::twipsToPixelsY(FirstStartSizeTwips));
    m_document = m_main->NewDocument();
}

RichTextBox* OpenedDocument::text() const { return m_document->txtText; }

bool OpenedDocument::load(const QString& path)
{
    text()->SetRedraw(false);
    return text()->LoadFile(path, RichTextBox::rtfText);
}

void OpenedDocument::finishOpen(const QString& path)
{
    RichTextBox* box = text();
    m_document->setFilePath(QFileInfo(path).absoluteFilePath());
    // As the main window's start-up open with no stored text colour.
    box->setSelStart(0);
    m_document->setTitle(path.toUpper());
    m_document->setWindowTitle(path.toUpper());
    box->EmptyUndoBuffer();
    box->SetRedraw(true);
    m_document->setLabel1(QString());
}

bool OpenedDocument::showAndPaint() { return paintFirstScreen(m_main, text()->viewport()); }

const char* OpenedDocument::openAndShow(const QString& path)
{
    if (!load(path))
        return "set-up: LoadFile failed";
    finishOpen(path);
    return showAndPaint() ? nullptr : "set-up: the text never painted";
}

bool OpenedDocument::updateStatusLine()
{
    m_main->UpdateStatusLine();
    return statusText().startsWith(QLatin1String("Line=1 of "));
}

QString OpenedDocument::statusText() const { return m_main->panelText(2); }

PlainTextReference::PlainTextReference() : m_edit(new QPlainTextEdit)
{
    // The size the document window's text control gets in the first-start main window.
    m_edit->resize(units::twipsToPixelsX(FirstStartSizeTwips) * 3 / 4,
                   units::twipsToPixelsY(FirstStartSizeTwips) * 3 / 4);
}

bool PlainTextReference::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_edit->setPlainText(decodeTextFile(file.readAll()).text);
    return true;
}

bool PlainTextReference::showAndPaint() { return paintFirstScreen(m_edit, m_edit->viewport()); }

bool PlainTextReference::prepare(const QString& path, bool wrap, QSize size)
{
    if (size.isValid())
        m_edit->resize(size);
    m_edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    return load(path) && showAndPaint();
}

bool OpenedDocument::openWithCaretNearEnd(const QString& path, int caretFromEnd, std::string* failure)
{
    if (!load(path)) {
        *failure = "set-up: LoadFile failed";
        return false;
    }
    finishOpen(path);
    if (!showAndPaint() || !updateStatusLine()) {
        *failure = "set-up: status line \"" + statusText().toStdString() + "\"";
        return false;
    }
    text()->setSelStart(text()->TextLength() - caretFromEnd);
    QCoreApplication::processEvents();
    return true;
}

}  // namespace bench
