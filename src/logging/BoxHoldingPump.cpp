#include "logging/BoxHoldingPump.h"

namespace quorvane {

void BoxHoldingPump::processPendingEvents() {
    DeferredDialogs::Hold hold(m_dialogs);
    m_pump.processPendingEvents();
}

} // namespace quorvane
