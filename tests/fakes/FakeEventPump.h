#pragma once

#include "platform/EventPump.h"

#include <functional>
#include <vector>

namespace quorvane::fakes {

class FakeEventPump : public EventPump {
public:
    void processPendingEvents() override {
        ++m_passes;
        if (pending) {
            pending();
        }
    }
    void post(std::function<void()> call) override { m_posted.push_back(std::move(call)); }
    int passes() const { return m_passes; }

    // Runs the queued calls as the event loop would, those they queue included.
    void runPosted() {
        while (!m_posted.empty()) {
            std::vector<std::function<void()>> calls;
            calls.swap(m_posted);
            for (auto& call : calls) {
                call();
            }
        }
    }
    // Runs the calls queued now, as one pass of the event loop does: what they queue waits
    // for the next pass.
    void runPostedOnce() {
        std::vector<std::function<void()>> calls;
        calls.swap(m_posted);
        for (auto& call : calls) {
            call();
        }
    }
    std::size_t postedCalls() const { return m_posted.size(); }

    // What the queue would deliver during a pass.
    std::function<void()> pending;

private:
    int m_passes = 0;
    std::vector<std::function<void()>> m_posted;
};

} // namespace quorvane::fakes
