#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quorvane::fakes {

// Test time: fake timers register here and fire, in order of their due time, when a
// test advances it. Nothing sleeps.
class FakeTimeline {
public:
    struct Entry {
        std::function<bool()> isArmed;
        std::function<std::int64_t()> dueAt;
        std::function<void()> fire;
    };

    std::int64_t nowMs() const { return m_nowMs; }
    // Moves time forward, firing every timer that falls due on the way (in due order;
    // equal due times fire in registration order).
    void advance(std::int64_t ms);
    void advanceSeconds(double seconds) { advance(static_cast<std::int64_t>(seconds * 1000)); }

    int add(Entry entry);

private:
    std::int64_t m_nowMs = 0;
    std::vector<Entry> m_entries;
};

} // namespace quorvane::fakes
