#include "logging/DisplayPanes.h"

#include "platform/TextPane.h"

namespace quorvane {

void appendToPane(TextPane& pane, const std::string& text) {
    if (text.empty()) {
        return;
    }
    const std::size_t length = pane.length();
    if (length + text.size() <= kPaneLimit) {
        pane.append(text);
        return;
    }
    if (text.size() >= kPaneKeep) {
        pane.setText(text.substr(text.size() - kPaneKeep));
        return;
    }
    // Drop the front and append, rather than rewrite the pane: a rewrite of 800,000
    // characters stalls the window for a good part of a second. At one record a second
    // the Events and logged-data panes would otherwise grow by some 100 MB a day.
    pane.keepLast(kPaneKeep - text.size());
    pane.append(text);
}

void clearPane(TextPane& pane) {
    pane.setText(std::string());
}

} // namespace quorvane
