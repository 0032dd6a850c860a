#pragma once

#include <cstddef>
#include <string>

namespace quorvane {

class TextPane;

// The panes' length rule: above 1000000 characters a pane keeps its last 800000. The
// files behind the Events and logged-data panes keep everything.
inline constexpr std::size_t kPaneLimit = 1000000;
inline constexpr std::size_t kPaneKeep = 800000;

// Appends to a pane, dropping the front of the pane when it grows past the limit.
void appendToPane(TextPane& pane, const std::string& text);

// A Clear button: empties its pane and nothing else.
void clearPane(TextPane& pane);

} // namespace quorvane
