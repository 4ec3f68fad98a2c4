#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

class QProgressBar;
class QWidget;

// Keeps a dialog alive while its pass runs on the one thread: shows the progress bar and the hourglass
// for as long as it exists, and between lines now and then moves the bar and lets pending events through
// (the repaint, a click on Cancel). The clock is read only every few dozen lines and events are let
// through only a few dozen times a second, so a program of a million lines runs as fast as without a bar.
class PassProgressPump
{
public:
    PassProgressPump(QWidget *dialog, QProgressBar *bar);
    ~PassProgressPump();
    PassProgressPump(const PassProgressPump &) = delete;
    PassProgressPump &operator=(const PassProgressPump &) = delete;

    // For the pass's progress callback: `done` of `total` units. Returns false once Cancel was asked for.
    bool Update(qsizetype done, qsizetype total);
    void RequestCancel() { m_cancelRequested = true; }
    bool CancelRequested() const { return m_cancelRequested; }

private:
    void ShowProgress(qsizetype done, qsizetype total);

    QWidget *m_dialog;
    QProgressBar *m_bar;
    QElapsedTimer m_clock;
    quint64 m_calls = 0;
    bool m_cancelRequested = false;
};
