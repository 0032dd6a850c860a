#include "logging/DisplayPanes.h"

#include "platform/TextPane.h"

namespace quorvane {

void appendToSerialPane(TextPane& pane, const std::string& text) {
    if (text.empty()) {
        return;
    }
    const std::size_t length = pane.length();
    if (length + text.size() <= kSerialPaneLimit) {
        pane.append(text);
        return;
    }
    if (text.size() >= kSerialPaneKeep) {
        pane.setText(text.substr(text.size() - kSerialPaneKeep));
        return;
    }
    const std::string old = pane.text();
    const std::size_t fromOld = kSerialPaneKeep - text.size();
    pane.setText(old.substr(old.size() - fromOld) + text);
}

void appendToPane(TextPane& pane, const std::string& text) {
    pane.append(text);
}

void clearPane(TextPane& pane) {
    pane.setText(std::string());
}

} // namespace quorvane
