#include "logging/DeferredDialogs.h"

namespace quorvane {

void DeferredDialogs::showMessage(const std::string& text, const std::string& title,
                                  MessageIcon icon) {
    m_queue.push_back({text, title, icon});
    post();
}

void DeferredDialogs::post() {
    if (!m_posted) {
        m_posted = true;
        m_pump.post([this] { showPosted(); });
    }
}

void DeferredDialogs::showPosted() {
    m_posted = false;
    if (m_holding > 0) {
        // Run by a handler's own pass of the waiting events: later, from the loop.
        post();
        return;
    }
    showQueuedNow();
}

void DeferredDialogs::showQueuedNow() {
    std::vector<Message> messages;
    messages.swap(m_queue);
    // One after the other, never stacked: the gate behind holds back what comes while one
    // is open.
    for (const Message& message : messages) {
        m_boxes.showMessage(message.text, message.title, message.icon);
    }
}

} // namespace quorvane
