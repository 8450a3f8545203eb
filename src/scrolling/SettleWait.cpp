#include "scrolling/SettleWait.h"

SettleWait::SettleWait(std::function<void()> done) : m_done(std::move(done)) {
    m_quiet.setSingleShot(true);
    m_longest.setSingleShot(true);
    // Precise timers: a coarse one may fire 5 % late, which on the longest wait is most of the
    // quiet time.
    m_quiet.setTimerType(Qt::PreciseTimer);
    m_longest.setTimerType(Qt::PreciseTimer);
    connect(&m_quiet, &QTimer::timeout, this, &SettleWait::end);
    connect(&m_longest, &QTimer::timeout, this, &SettleWait::end);
}

void SettleWait::start(int longestMilliseconds, bool awaitChange) {
    m_waiting = true;
    m_changeSeen = !awaitChange;
    m_longest.start(std::max(0, longestMilliseconds));
    if (m_changeSeen)
        m_quiet.start(std::min(quietMilliseconds, std::max(0, longestMilliseconds)));
    else
        m_quiet.stop();
}

void SettleWait::changed() {
    ++m_changes;
    if (!m_waiting) return;
    m_changeSeen = true;
    m_quiet.start(quietMilliseconds);
}

void SettleWait::end() {
    if (!m_waiting) return;
    m_waiting = false;
    m_quiet.stop();
    m_longest.stop();
    if (m_done) m_done();
}
