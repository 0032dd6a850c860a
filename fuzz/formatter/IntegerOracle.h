#pragma once

// An independent reading of the integer grammar for the integer targets: strtod in the
// C locale over the same characters, rounded half to even.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace quorvane::fuzzing {

inline std::optional<std::int32_t> expectedInteger(const std::string& text, bool integerOnly) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::string number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    for (char c : number) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
        if (!allowed || (integerOnly && (c == '.' || c == 'e' || c == 'E'))) {
            return std::nullopt;
        }
    }
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

inline bool expectedInRange(std::int32_t value, std::int32_t flags,
                            const std::optional<double>& minimum,
                            const std::optional<double>& maximum) {
    if (!(flags & 32)) {
        return true;
    }
    return !(minimum && value < *minimum) && !(maximum && value > *maximum);
}

} // namespace quorvane::fuzzing
