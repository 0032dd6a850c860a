#pragma once

#include "platform/LongTimer.h"

#include <QObject>
#include <QTimer>

namespace quorvane {

// A long-interval timer on QTimer: seconds x 1000 ms, so a day (86400 s) fits easily. It
// expires every interval while enabled; disabling cancels a pending expiry; interval 0
// never expires.
class QtLongTimer : public QObject, public LongTimer {
    Q_OBJECT
public:
    explicit QtLongTimer(QObject* parent = nullptr);

    float interval() const override { return m_interval; }
    void setInterval(float seconds) override;
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;

    void onExpiry(std::function<void()> reaction) override { m_expiry = std::move(reaction); }

    // Stops for good: the window that owns it has been unloaded.
    void retire();

    bool isRunning() const { return m_timer.isActive(); }
    // Milliseconds until the next expiry, -1 when none is due.
    int remainingMs() const { return m_timer.remainingTime(); }
    // The interval as the timer runs it.
    int periodMs() const;

private:
    void restart();
    void handleTimeout();

    QTimer m_timer;
    bool m_retired = false;
    float m_interval = 0;
    bool m_enabled = false;
    std::function<void()> m_expiry;
};

} // namespace quorvane
