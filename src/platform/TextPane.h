#pragma once

#include <cstddef>
#include <string>

namespace quorvane {

// A multi-line display pane. Every change leaves the caret at the end, so the newest
// line is in view. Appending costs time in proportion to the appended text.
class TextPane {
public:
    virtual ~TextPane() = default;

    virtual std::string text() const = 0;
    virtual std::size_t length() const = 0;
    virtual void append(const std::string& text) = 0;
    virtual void setText(const std::string& text) = 0;
    // Drops the front of the text so that its last `count` characters remain; costs time in
    // proportion to what is dropped, not to what stays.
    virtual void keepLast(std::size_t count) = 0;
    // Lays the text out without wrapping (a right margin far beyond the pane's width).
    virtual void setWrapping(bool wrap) = 0;
};

} // namespace quorvane
