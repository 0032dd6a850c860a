#include "TimingApplication.h"

#include <QTimer>
#include <algorithm>
#include <ctime>

namespace quorvane::bench {

namespace {

double threadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

} // namespace

TimingApplication::TimingApplication(int& argc, char** argv) : QApplication(argc, argv) {
    m_clock.start();
}

void TimingApplication::reset() {
    m_longestPollMs = 0;
    m_longestAnyMs = 0;
    m_longestWhat.clear();
    m_pollTicks = 0;
    m_longestPollCpuMs = 0;
    m_mostPollCpuMs = 0;
    m_slow.clear();
}

bool TimingApplication::notify(QObject* receiver, QEvent* event) {
    if (m_depth > 0) {
        return QApplication::notify(receiver, event);
    }
    // The poll timer is the only repeating 250 ms timer of the window.
    const auto* timer = qobject_cast<QTimer*>(receiver);
    const bool poll = event->type() == QEvent::Timer && timer != nullptr &&
                      timer->interval() == kPollIntervalMs && !timer->isSingleShot();
    const char* className = receiver->metaObject()->className();
    ++m_depth;
    const qint64 start = m_clock.nsecsElapsed();
    const double cpuStart = threadCpuMs();
    const int type = event->type();
    const bool result = QApplication::notify(receiver, event);
    const double ms = static_cast<double>(m_clock.nsecsElapsed() - start) / 1e6;
    const double cpuMs = threadCpuMs() - cpuStart;
    --m_depth;
    if (ms > m_longestAnyMs || ms > kSlowMs) {
        // The receiver may be gone by now (a deferred delete); only its class was taken.
        const QString what = QStringLiteral("event %1 to %2%3")
                                 .arg(type)
                                 .arg(QString::fromLatin1(className))
                                 .arg(poll ? QStringLiteral(" (poll tick)") : QString());
        if (ms > m_longestAnyMs) {
            m_longestAnyMs = ms;
            m_longestWhat = what;
        }
        if (ms > kSlowMs) {
            m_slow.push_back({static_cast<double>(start) / 1e9, ms, cpuMs, what});
        }
    }
    if (poll) {
        if (ms > m_longestPollMs) {
            m_longestPollMs = ms;
            m_longestPollCpuMs = cpuMs;
        }
        m_mostPollCpuMs = std::max(m_mostPollCpuMs, cpuMs);
        ++m_pollTicks;
    }
    return result;
}

} // namespace quorvane::bench
