#include "app/convert/PassProgressPump.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QWidget>
#include <limits>

namespace {
constexpr quint64 LinesBetweenClockReads = 64;
constexpr qint64 MillisecondsBetweenRepaints = 40;
} // namespace

PassProgressPump::PassProgressPump(QWidget *dialog, QProgressBar *bar) : m_dialog(dialog), m_bar(bar)
{
    m_dialog->setCursor(Qt::WaitCursor);
    if (m_bar) {
        m_bar->setRange(0, 0);
        m_bar->setValue(0);
        m_bar->show();
    }
}

// Whatever way the pass ended, the dialog gets its pointer back and the bar goes away.
PassProgressPump::~PassProgressPump()
{
    m_dialog->unsetCursor();
    if (m_bar)
        m_bar->hide();
}

bool PassProgressPump::Update(qsizetype done, qsizetype total)
{
    // The first line always lets events through, so the bar shows at once.
    if (m_clock.isValid()) {
        if (++m_calls % LinesBetweenClockReads != 0 || m_clock.elapsed() < MillisecondsBetweenRepaints)
            return !m_cancelRequested;
    }
    m_clock.start();
    ShowProgress(done, total);
    QCoreApplication::processEvents();
    return !m_cancelRequested;
}

void PassProgressPump::ShowProgress(qsizetype done, qsizetype total)
{
    if (!m_bar)
        return;
    // The bar counts in int; a longer program is shown in proportion.
    while (total > std::numeric_limits<int>::max()) {
        total /= 2;
        done /= 2;
    }
    m_bar->setRange(0, int(total));
    m_bar->setValue(int(qBound<qsizetype>(0, done, total)));
}
