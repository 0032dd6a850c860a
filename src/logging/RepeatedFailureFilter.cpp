#include "logging/RepeatedFailureFilter.h"

namespace quorvane {

std::string RepeatedFailureFilter::failureOf(const std::string& text) {
    const std::size_t end = text.rfind("\r\n");
    return end == std::string::npos ? text : text.substr(end + 2);
}

void RepeatedFailureFilter::begin() {
    m_active = true;
    m_shown.clear();
}

void RepeatedFailureFilter::end() {
    m_active = false;
    m_shown.clear();
}

void RepeatedFailureFilter::showMessage(const std::string& text, const std::string& title,
                                        MessageIcon icon) {
    if (m_active && !m_shown.insert(failureOf(text)).second) {
        if (m_onHeldBack) {
            m_onHeldBack(text);
        }
        return;
    }
    m_boxes.showMessage(text, title, icon);
}

} // namespace quorvane
