#pragma once
// The File Open command as the user runs it, with the file picked by
// script, and what watches it: the longest time the event loop could not
// run, and when the first screen of text was painted.
#include "Timing.h"

#include "core/CommonDialog.h"
#include "core/MessageBox.h"

#include <QObject>
#include <QString>
#include <QTimer>

class frmMain;

namespace bench {

// While it lives, the Open dialog picks `path` and any message box is
// answered with OK (its text kept); other dialogs are cancelled.
class ScriptedOpen : public CommonDialogBackend, public MessageBoxHandler {
public:
    explicit ScriptedOpen(const QString& path);
    ~ScriptedOpen() override;

    bool showOpen(CommonDialog& dialog, QWidget* parent) override;
    bool showSave(CommonDialog&, QWidget*) override { return false; }
    bool showColor(CommonDialog&, QWidget*) override { return false; }
    bool showFont(CommonDialog&, QWidget*) override { return false; }
    bool showPrintSetup(CommonDialog&, QWidget*) override { return false; }
    int show(QWidget* parent, const QString& prompt, int style, const QString& title) override;

    QString message;  // the last message shown, if any
    int dialogs = 0;  // Open dialogs shown

private:
    QString m_path;
};

// File > Open, as the menu item runs it.
void runFileOpen(frmMain& main);

// A 5 ms timer of this thread: the longest time between two of its ticks is
// the longest time the program could not react.
class FreezeWatch : public QObject {
public:
    static constexpr int TickMs = 5;
    FreezeWatch();
    // Starts the timer and returns right after its first tick; times
    // below count from then.
    void start();
    // The time since the last tick counts as a gap too: the measured work
    // may end long after it, before the event loop had a turn.
    void stop();
    double longestGapMs() const { return m_longest; }
    double longestGapEndMs() const { return m_longestEnd; }
    int gapsOver(double ms) const;
    int ticks() const { return m_ticks; }

private:
    void tick();
    void noteGapUntil(double now);

    QTimer m_timer;
    Stopwatch m_clock;
    double m_last = 0;
    double m_longest = 0;
    double m_longestEnd = 0;
    std::vector<double> m_gaps;
    int m_ticks = 0;
};

// Watches the whole application (the Open command may make a new document
// window): the end of the first paint of a text control's viewport while it
// holds text, and the showing of a progress window.
class LoadObserver : public QObject {
public:
    LoadObserver();
    ~LoadObserver() override;
    // Times count from here.
    void start();
    double elapsedMs() const { return m_clock.elapsedMs(); }
    bool painted() const { return m_paintedMs >= 0; }
    double firstPaintMs() const { return m_paintedMs; }
    bool progressShown() const { return m_progressMs >= 0; }
    double progressShownMs() const { return m_progressMs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Stopwatch m_clock;
    double m_paintedMs = -1;
    double m_progressMs = -1;
    bool m_inside = false;
};

}  // namespace bench
