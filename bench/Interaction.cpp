#include "Interaction.h"

#include "Timing.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QTest>

#include <cstdio>

namespace bench {

namespace {

// Notes that the viewport received a paint event; the event itself goes on.
class ViewportPaint : public QObject {
public:
    explicit ViewportPaint(QWidget* viewport) : m_viewport(viewport) { viewport->installEventFilter(this); }
    ~ViewportPaint() override { m_viewport->removeEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_viewport && event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

private:
    QWidget* m_viewport;
};

constexpr int EventRounds = 5;

}  // namespace

void runEventsFor(double ms)
{
    Stopwatch watch;
    while (watch.elapsedMs() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool paintPending(QWidget* viewport)
{
    ViewportPaint paint(viewport);
    // Painting is synchronous, so a seen paint event is a finished one.
    for (int round = 0; round < EventRounds && !paint.painted; ++round)
        QCoreApplication::processEvents();
    if (paint.painted)
        return true;
    viewport->repaint();
    return false;
}

double timedKey(QAbstractScrollArea* editor, Qt::Key key, int* forced)
{
    Stopwatch watch;
    QTest::keyClick(editor, key);
    const bool painted = paintPending(editor->viewport());
    const double ms = watch.elapsedMs();
    if (!painted && forced)
        ++*forced;
    return ms;
}

double timedClick(QAbstractScrollArea* editor, QPoint at, int* forced)
{
    Stopwatch watch;
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    const bool painted = paintPending(editor->viewport());
    const double ms = watch.elapsedMs();
    if (!painted && forced)
        ++*forced;
    return ms;
}

void focusEditor(QWidget* editor)
{
    QWidget* window = editor->window();
    window->activateWindow();
    QCoreApplication::processEvents();
    editor->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}

std::string sizeText(QSize size)
{
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

QSize sizeFromText(const std::string& text)
{
    int width = 0, height = 0;
    if (std::sscanf(text.c_str(), "%dx%d", &width, &height) != 2)
        return QSize();
    return QSize(width, height);
}

}  // namespace bench
