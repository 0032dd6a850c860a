#pragma once

#include "fakes/FakeTimeline.h"
#include "platform/Clock.h"

#include <cstdint>

namespace quorvane::fakes {

// UTC clock that reads a FakeTimeline: a fixed start plus the timeline's elapsed time.
class FakeClock : public Clock {
public:
    // Default start: 07-Dec-2026 13:51:10.000 UTC.
    explicit FakeClock(FakeTimeline& timeline, std::int64_t startEpochMs = 1796651470000);

    SystemTime nowUtc() const override;
    void setStart(std::int64_t epochMs) { m_startEpochMs = epochMs; }

    static SystemTime fromEpochMs(std::int64_t epochMs);

private:
    FakeTimeline& m_timeline;
    std::int64_t m_startEpochMs;
};

} // namespace quorvane::fakes
