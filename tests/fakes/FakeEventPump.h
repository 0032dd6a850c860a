#pragma once

#include "platform/EventPump.h"

#include <functional>

namespace quorvane::fakes {

class FakeEventPump : public EventPump {
public:
    void processPendingEvents() override {
        ++m_passes;
        if (pending) {
            pending();
        }
    }
    int passes() const { return m_passes; }

    // What the queue would deliver during a pass.
    std::function<void()> pending;

private:
    int m_passes = 0;
};

} // namespace quorvane::fakes
