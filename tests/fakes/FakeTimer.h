#pragma once

#include "fakes/FakeTimeline.h"
#include "platform/LongTimer.h"
#include "platform/Timer.h"

#include <cstdint>

namespace quorvane::fakes {

// Standard timer on a FakeTimeline: ticks every interval while enabled; 0 never ticks. A
// tick that falls due while the timer's own handler runs is skipped, as the toolkit does.
class FakeTimer : public Timer {
public:
    explicit FakeTimer(FakeTimeline& timeline, int intervalMs = 0, bool enabled = false);

    int interval() const override { return m_interval; }
    void setInterval(int milliseconds) override;
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;
    void onTick(std::function<void()> reaction) override { m_reaction = std::move(reaction); }

    int ticks() const { return m_ticks; }
    // Fires the tick at once, as the toolkit would.
    void fire();

private:
    FakeTimeline& m_timeline;
    int m_interval;
    bool m_enabled;
    std::int64_t m_dueAt = 0;
    int m_ticks = 0;
    bool m_firing = false;
    std::function<void()> m_reaction;
};

// Long-interval timer on a FakeTimeline; expires interval seconds after it was enabled
// (and every interval after that, until disabled).
class FakeLongTimer : public LongTimer {
public:
    explicit FakeLongTimer(FakeTimeline& timeline);

    float interval() const override { return m_interval; }
    void setInterval(float seconds) override;
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;
    void onExpiry(std::function<void()> reaction) override { m_reaction = std::move(reaction); }

    int expiries() const { return m_expiries; }
    void fire();

private:
    std::int64_t periodMs() const;

    FakeTimeline& m_timeline;
    float m_interval = 0;
    bool m_enabled = false;
    std::int64_t m_dueAt = 0;
    int m_expiries = 0;
    bool m_firing = false;
    std::function<void()> m_reaction;
};

} // namespace quorvane::fakes
