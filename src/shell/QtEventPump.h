#pragma once

#include "platform/EventPump.h"

#include <QObject>

namespace quorvane {

class QtEventPump : public EventPump {
public:
    void processPendingEvents() override;
    // Calls still queued when the pump goes are dropped with it.
    void post(std::function<void()> call) override;

private:
    QObject m_context;
};

} // namespace quorvane
