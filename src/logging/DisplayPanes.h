#pragma once

#include <cstddef>
#include <string>

namespace quorvane {

class TextPane;

// The serial pane's length rule: above 1000000 characters it keeps the last 800000.
inline constexpr std::size_t kSerialPaneLimit = 1000000;
inline constexpr std::size_t kSerialPaneKeep = 800000;

// Appends received text to the serial pane, dropping the front of the pane when it grows
// past the limit.
void appendToSerialPane(TextPane& pane, const std::string& text);

// Appends to the Events or logged-data pane (no length rule).
void appendToPane(TextPane& pane, const std::string& text);

// A Clear button: empties its pane and nothing else.
void clearPane(TextPane& pane);

} // namespace quorvane
