#include "fakes/FakeTimeline.h"

#include <limits>

namespace quorvane::fakes {

int FakeTimeline::add(Entry entry) {
    m_entries.push_back(std::move(entry));
    return static_cast<int>(m_entries.size()) - 1;
}

void FakeTimeline::advance(std::int64_t ms) {
    const std::int64_t target = m_nowMs + ms;
    for (;;) {
        std::int64_t best = std::numeric_limits<std::int64_t>::max();
        int bestIndex = -1;
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].isArmed()) {
                const std::int64_t due = m_entries[i].dueAt();
                if (due < best) {
                    best = due;
                    bestIndex = static_cast<int>(i);
                }
            }
        }
        if (bestIndex < 0 || best > target) {
            break;
        }
        if (best > m_nowMs) {
            m_nowMs = best;
        }
        m_entries[static_cast<std::size_t>(bestIndex)].fire();
    }
    m_nowMs = target;
}

} // namespace quorvane::fakes
