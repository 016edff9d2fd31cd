#pragma once
// The progress of a long load or whole-text command: nothing for the first
// moments, then a modal progress window with Cancel. Between steps the program keeps painting, so
// the first screen of a big file shows while the rest is still loading.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

class LoadProgress {
public:
    LoadProgress(QWidget* owner, const QString& path, qint64 total);
    // With the window's own text instead of the opened file's name.
    LoadProgress(QWidget* owner, qint64 total, const QString& label);
    ~LoadProgress();

    // Reports how much is done; false once the user has cancelled.
    bool advance(qint64 done);
    // Whether a load or command is under way: it paints between its steps,
    // and nothing else may change a document meanwhile.
    static bool anyRunning() { return s_running > 0; }

    // How long the work goes on before the window shows (tests set it to 0).
    static inline int DelayMs = 400;

private:
    QPointer<QWidget> m_owner;
    QString m_label;
    qint64 m_total;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
    static inline int s_running = 0;
    friend class BusyPainting;
};

// For a whole-text step too short to need Cancel: called between its
// slices, it paints now and then but takes no input, and meanwhile the step
// counts as running.
class BusyPainting {
public:
    BusyPainting();
    ~BusyPainting();
    BusyPainting(const BusyPainting&) = delete;
    BusyPainting& operator=(const BusyPainting&) = delete;

    void operator()();

    static inline int EveryMs = 40;  // tests set it to 0

private:
    QElapsedTimer m_clock;
};
