#include "datafile/PlainNumbers.h"

#include <charconv>
#include <cmath>

namespace quorvane {

std::optional<double> parsePlainNumber(std::string_view text) {
    if (text.empty() || text.size() > 64) {
        return std::nullopt;
    }
    char buffer[65] = {};
    std::size_t n = 0;
    for (char c : text) {
        buffer[n++] = c == ',' ? '.' : c;
    }
    const char* first = buffer;
    if (*first == '+') {
        ++first; // from_chars takes no plus sign
        if (first == buffer + n || *first == '-') {
            return std::nullopt;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, buffer + n, value);
    if (error != std::errc() || end != buffer + n || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parsePlainCount(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string formatFixed(double value, int decimals) {
    if (std::isnan(value)) {
        return "nan";
    }
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        return "nan";
    }
    return std::string(buffer, end);
}

} // namespace quorvane
