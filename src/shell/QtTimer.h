#pragma once

#include "platform/Timer.h"

#include <QObject>
#include <QTimer>

namespace quorvane {

// A standard timer on QTimer. Interval 0 never ticks; a new interval restarts the count.
class QtTimer : public QObject, public Timer {
    Q_OBJECT
public:
    QtTimer(int intervalMs, bool enabled, QObject* parent = nullptr);

    int interval() const override { return m_interval; }
    void setInterval(int milliseconds) override;
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;

    void onTick(std::function<void()> reaction) override { m_tick = std::move(reaction); }

    // True while ticks are due (enabled with an interval above 0).
    // Stops for good: the window that owns it has been unloaded.
    void retire();

    bool isRunning() const { return m_timer.isActive(); }

private:
    void restart();
    void handleTimeout();

    QTimer m_timer;
    bool m_retired = false;
    int m_interval;
    bool m_enabled;
    std::function<void()> m_tick;
};

} // namespace quorvane
