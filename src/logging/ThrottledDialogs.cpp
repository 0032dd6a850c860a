#include "logging/ThrottledDialogs.h"

#include "logging/EventStamp.h"

namespace quorvane {

void ThrottledDialogs::showMessage(const std::string& text, const std::string& title,
                                   MessageIcon icon) {
    const auto now = systemTimeToDate(m_clock.nowUtc());
    if (m_lastShown && now >= *m_lastShown && now - *m_lastShown < m_quiet) {
        if (m_onHeldBack) {
            m_onHeldBack(text);
        }
        return;
    }
    m_boxes.showMessage(text, title, icon);
    // The quiet period counts from when the box was closed, or raised when it waits for
    // the event loop.
    m_lastShown = systemTimeToDate(m_clock.nowUtc());
}

} // namespace quorvane
