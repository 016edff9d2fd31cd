#include "OpenCommand.h"

#include "app/frmMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTextEdit>

#include <algorithm>

namespace bench {

namespace {

// Whether `object` is the viewport of a text control that holds text.
bool isViewportWithText(QObject* object)
{
    QObject* parent = object->parent();
    if (auto* edit = qobject_cast<QTextEdit*>(parent))
        return edit->viewport() == object && edit->document()->characterCount() > 1;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(parent))
        return plain->viewport() == object && plain->document()->characterCount() > 1;
    return false;
}

}  // namespace

ScriptedOpen::ScriptedOpen(const QString& path) : m_path(path)
{
    setCommonDialogBackend(this);
    setMessageBoxHandler(this);
}

ScriptedOpen::~ScriptedOpen()
{
    setCommonDialogBackend(nullptr);
    setMessageBoxHandler(nullptr);
}

bool ScriptedOpen::showOpen(CommonDialog& dialog, QWidget*)
{
    ++dialogs;
    dialog.FileName = m_path;
    return true;
}

int ScriptedOpen::show(QWidget*, const QString& prompt, int, const QString&)
{
    message = prompt;
    return vb::vbOK;
}

void runFileOpen(frmMain& main) { main.mnuFileItem_Click(1); }

FreezeWatch::FreezeWatch()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &FreezeWatch::tick);
}

void FreezeWatch::start()
{
    m_timer.start();
    while (m_ticks == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_clock.restart();
    m_last = 0;
    m_longest = 0;
    m_longestEnd = 0;
    m_gaps.clear();
}

void FreezeWatch::stop()
{
    m_timer.stop();
    noteGapUntil(m_clock.elapsedMs());
}

void FreezeWatch::tick()
{
    ++m_ticks;
    noteGapUntil(m_clock.elapsedMs());
}

void FreezeWatch::noteGapUntil(double now)
{
    const double gap = now - m_last;
    m_gaps.push_back(gap);
    if (gap > m_longest) {
        m_longest = gap;
        m_longestEnd = now;
    }
    m_last = now;
}

int FreezeWatch::gapsOver(double ms) const
{
    return int(std::count_if(m_gaps.begin(), m_gaps.end(), [ms](double gap) { return gap > ms; }));
}

LoadObserver::LoadObserver() { QCoreApplication::instance()->installEventFilter(this); }

LoadObserver::~LoadObserver() { QCoreApplication::instance()->removeEventFilter(this); }

void LoadObserver::start()
{
    m_clock.restart();
    m_paintedMs = -1;
    m_progressMs = -1;
}

bool LoadObserver::eventFilter(QObject* watched, QEvent* event)
{
    if (m_inside)
        return false;
    if (event->type() == QEvent::Show && m_progressMs < 0 && qobject_cast<QProgressDialog*>(watched))
        m_progressMs = m_clock.elapsedMs();
    if (event->type() != QEvent::Paint || m_paintedMs >= 0 || !isViewportWithText(watched))
        return false;
    // The paint is delivered here so that the time taken is when it has ended.
    m_inside = true;
    QCoreApplication::sendEvent(watched, event);
    m_inside = false;
    m_paintedMs = m_clock.elapsedMs();
    return true;
}

}  // namespace bench
