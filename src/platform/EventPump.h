#pragma once

namespace quorvane {

// Lets the toolkit process the events waiting in its queue, once.
class EventPump {
public:
    virtual ~EventPump() = default;

    virtual void processPendingEvents() = 0;
};

} // namespace quorvane
