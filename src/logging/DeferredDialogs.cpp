#include "logging/DeferredDialogs.h"

namespace quorvane {

void DeferredDialogs::showMessage(const std::string& text, const std::string& title,
                                  MessageIcon icon) {
    if (m_deferring == 0) {
        m_boxes.showMessage(text, title, icon);
        return;
    }
    m_queue.push_back({text, title, icon});
    if (!m_posted) {
        m_posted = true;
        m_pump.post([this] { showQueued(); });
    }
}

void DeferredDialogs::showQueued() {
    m_posted = false;
    std::vector<Message> messages;
    messages.swap(m_queue);
    // One after the other, never stacked: the gate behind holds back what comes while one
    // is open.
    for (const Message& message : messages) {
        m_boxes.showMessage(message.text, message.title, message.icon);
    }
}

} // namespace quorvane
