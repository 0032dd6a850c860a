#include "util/NumericText.h"

#include "util/DecimalText.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace quorvane {

std::optional<double> parseNumericText(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto isDigit = [&](std::size_t at) {
        return at < n && std::isdigit(static_cast<unsigned char>(text[at]));
    };
    while (i < n && text[i] == ' ') {
        ++i;
    }
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    int digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (!isDigit(i)) {
            return std::nullopt;
        }
        while (isDigit(i)) {
            ++i;
        }
    }
    const std::size_t end = i;
    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    // from_chars reads a point in every locale (strtod wants the locale's own); it takes
    // no "+".
    const std::size_t from = text[start] == '+' ? start + 1 : start;
    double value = 0;
    const auto [ptr, error] = std::from_chars(text.data() + from, text.data() + end, value);
    if (error == std::errc::result_out_of_range) {
        // Too small to hold counts as zero; too large is no number.
        return decimalText::roundedScaled(std::string_view(text).substr(start, end - start), 0)
                   ? std::optional<double>(0.0)
                   : std::nullopt;
    }
    if (error != std::errc() || ptr != text.data() + end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double roundHalfEven(double value) {
    return value - std::remainder(value, 1.0);
}

} // namespace quorvane
