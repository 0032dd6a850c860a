#include "util/Util.h"

#include "platform/TextField.h"

#include <algorithm>

namespace quorvane {

std::string trimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string reverseString(const std::string& text) {
    std::string out = trimSpaces(text);
    std::reverse(out.begin(), out.end());
    return out;
}

std::string padZerosRight(const std::string& text, int width) {
    std::string out = text;
    if (width > 0 && out.size() < static_cast<std::size_t>(width)) {
        out.append(static_cast<std::size_t>(width) - out.size(), '0');
    }
    return out;
}

std::string zeroPad(const std::string& text, int width) {
    return reverseString(padZerosRight(reverseString(text), width));
}

void selectAllText(TextField& field) {
    try {
        field.setSelection(0, static_cast<int>(field.text().size()));
    } catch (...) {
    }
}

void highlightField(TextField& field, bool highlight) {
    try {
        field.setBackground(highlight ? colors::highlight : colors::white);
        field.setForeground(colors::black);
    } catch (...) {
    }
}

} // namespace quorvane
