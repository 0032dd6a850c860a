#include "logging/MessageGate.h"

namespace quorvane {

void MessageGate::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    if (m_closed || isMessageOpen()) {
        ++m_heldBack;
        // Reporting may itself fail and ask for a box; that one is simply dropped.
        if (m_onHeldBack && !m_reporting) {
            m_reporting = true;
            try {
                m_onHeldBack(text);
            } catch (...) {
            }
            m_reporting = false;
        }
        return;
    }
    ++m_open;
    try {
        m_boxes.showMessage(text, title, icon);
    } catch (...) {
        --m_open;
        throw;
    }
    --m_open;
}

} // namespace quorvane
