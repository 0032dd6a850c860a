#include "util/NumericText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

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
    const std::string number = text.substr(start, end - start);
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double roundHalfEven(double value) {
    return value - std::remainder(value, 1.0);
}

} // namespace quorvane
