#pragma once

#include <functional>

namespace quorvane {

// Lets the toolkit process the events waiting in its queue, once; and queues calls to run
// later from the event loop, after the handler that asked for them has returned.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void processPendingEvents() = 0;
    virtual void post(std::function<void()> call) = 0;
};

} // namespace quorvane
