#pragma once

#include "logging/DeferredDialogs.h"
#include "platform/EventPump.h"

namespace quorvane {

// The event pump of a handler that lets the waiting events run in its middle (Start Run):
// the boxes queued for the event loop do not open inside that pass, where they would hold
// the handler up before it has armed the run, but after the handler.
class BoxHoldingPump : public EventPump {
public:
    BoxHoldingPump(EventPump& pump, DeferredDialogs& dialogs) : m_pump(pump), m_dialogs(dialogs) {}

    void processPendingEvents() override;
    void post(std::function<void()> call) override { m_pump.post(std::move(call)); }

private:
    EventPump& m_pump;
    DeferredDialogs& m_dialogs;
};

} // namespace quorvane
