#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace quorvane::bench {

// Event-loop latency: a 50 ms timer of its own, and how late its ticks come. A handler
// that holds the loop (a long poll tick) shows as a late tick.
class LoopTimer : public QObject {
public:
    static constexpr int kPeriodMs = 50;

    LoopTimer();
    void reset();
    // The bench held the loop for its own work (reading files for a report): the gap up to
    // the next tick is not the program's, and is not counted.
    void skipGap() { m_lastNs = -1; }
    // The longest lateness of a tick since the last reset, in milliseconds.
    double longestLateMs() const { return m_longestLateMs; }
    // The processor time this process used during that longest gap: far below the gap
    // when the process was waiting (descheduled, or blocked in a call), not computing.
    double longestGapCpuMs() const { return m_longestGapCpuMs; }
    long ticks() const { return m_ticks; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = -1;
    double m_lastCpuMs = 0;
    double m_longestGapCpuMs = 0;
    double m_longestLateMs = 0;
    long m_ticks = 0;
};

} // namespace quorvane::bench
