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
    // Drop the front and append, rather than rewrite the pane: a rewrite of 800,000
    // characters stalls the window for a good part of a second.
    pane.keepLast(kSerialPaneKeep - text.size());
    pane.append(text);
}

void appendToPane(TextPane& pane, const std::string& text) {
    pane.append(text);
}

void clearPane(TextPane& pane) {
    pane.setText(std::string());
}

} // namespace quorvane
