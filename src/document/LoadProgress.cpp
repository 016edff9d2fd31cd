#include "document/LoadProgress.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

LoadProgress::LoadProgress(QWidget* owner, const QString& path, qint64 total)
    : LoadProgress(owner, total,
                   QCoreApplication::translate("LoadProgress", "Opening %1...").arg(QFileInfo(path).fileName()))
{
}

LoadProgress::LoadProgress(QWidget* owner, qint64 total, const QString& label)
    : m_owner(owner), m_label(label), m_total(std::max<qint64>(total, 1))
{
    m_clock.start();
    ++s_running;
}

LoadProgress::~LoadProgress() { --s_running; }

bool LoadProgress::advance(qint64 done)
{
    if (!m_dialog && m_clock.elapsed() >= DelayMs) {
        m_dialog = std::make_unique<QProgressDialog>(
            m_label,
            QCoreApplication::translate("LoadProgress", "Cancel"), 0, 1000,
            m_owner ? m_owner->window() : nullptr);
        m_dialog->setWindowTitle(QCoreApplication::applicationName());
        // Nothing else may be touched while the document is half there.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    if (m_dialog) {
        m_dialog->setValue(int(done * 1000 / m_total));
        QCoreApplication::processEvents();
        return !m_dialog->wasCanceled();
    }
    // Until the modal window is up, paint but take no input.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

BusyPainting::BusyPainting()
{
    m_clock.start();
    ++LoadProgress::s_running;
}

BusyPainting::~BusyPainting() { --LoadProgress::s_running; }

void BusyPainting::operator()()
{
    if (m_clock.elapsed() < EveryMs)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_clock.restart();
}
