#pragma once

#include "platform/EventPump.h"

namespace quorvane {

class QtEventPump : public EventPump {
public:
    void processPendingEvents() override;
};

} // namespace quorvane
