#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <vector>

namespace quorvane::bench {

// The application object, timing the handlers of the events it delivers: the longest
// poll tick (the timer event of the 250 ms serial poll timer, which runs the whole read
// and parsing pass) and the longest handler of any event.
class TimingApplication : public QApplication {
public:
    static constexpr int kPollIntervalMs = 250;

    TimingApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    void reset();
    double longestPollTickMs() const { return m_longestPollMs; }
    // The processor time the longest poll tick used (far below its length when the
    // machine kept the program waiting), and the most any poll tick used.
    double longestPollTickCpuMs() const { return m_longestPollCpuMs; }
    double mostPollTickCpuMs() const { return m_mostPollCpuMs; }
    double longestHandlerMs() const { return m_longestAnyMs; }
    // What the longest handler of any event was: event type and receiver class.
    const QString& longestHandlerWhat() const { return m_longestWhat; }
    long pollTicks() const { return m_pollTicks; }

    // Every handler that took longer than kSlowMs: when (seconds since start), how long,
    // how much of that the program itself ran, and what it was.
    static constexpr double kSlowMs = 40.0;
    struct SlowHandler {
        double atSeconds = 0;
        double ms = 0;
        double cpuMs = 0;
        QString what;
    };
    const std::vector<SlowHandler>& slowHandlers() const { return m_slow; }

private:
    QElapsedTimer m_clock;
    int m_depth = 0;
    double m_longestPollMs = 0;
    double m_longestAnyMs = 0;
    QString m_longestWhat;
    long m_pollTicks = 0;
    double m_longestPollCpuMs = 0;
    double m_mostPollCpuMs = 0;
    std::vector<SlowHandler> m_slow;
};

} // namespace quorvane::bench
