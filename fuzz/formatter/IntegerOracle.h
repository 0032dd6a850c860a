#pragma once

// An independent reading of the integer grammar for the integer and currency targets: a
// regular expression for the form, then the typed digits moved by the exponent as text
// and rounded half to even on the first dropped digit. No double on the way, so that
// texts next to a half («2147483647.49999999999») are judged exactly.

#include <cstdint>
#include <optional>
#include <regex>
#include <string>

namespace quorvane::fuzzing {

// The text's value rounded to a whole number, a tie to even; nullopt when the text is not
// a numeric text or the value does not fit 64 bits.
inline std::optional<std::int64_t> expectedRounded(const std::string& text, bool integerOnly) {
    static const std::regex form(R"(^ *([+-]?)(\d+\.?\d*|\.\d+)([eE]([+-]?\d+))? *$)");
    static const std::regex integerForm(R"(^ *[+-]?\d+ *$)");
    std::smatch match;
    if (!std::regex_match(text, match, form) ||
        (integerOnly && !std::regex_match(text, integerForm))) {
        return std::nullopt;
    }
    const bool negative = match[1] == "-";
    const std::string mantissa = match[2];
    const auto point = mantissa.find('.');
    std::string digits = mantissa;
    long long pointAt = static_cast<long long>(mantissa.size());
    if (point != std::string::npos) {
        digits.erase(point, 1);
        pointAt = static_cast<long long>(point);
    }
    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return 0;
    }
    if (match[3].matched) {
        std::string exponent = match[4];
        const bool negativeExponent = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) {
            exponent.erase(0, 1);
        }
        exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size()));
        if (exponent.size() > 12) {
            if (negativeExponent) {
                return 0;
            }
            return std::nullopt;
        }
        const long long shift = exponent.empty() ? 0 : std::stoll(exponent);
        pointAt += negativeExponent ? -shift : shift;
    }
    // Below 0.1 (the first dropped digit a zero): rounds to zero.
    if (pointAt < static_cast<long long>(firstNonZero)) {
        return 0;
    }
    if (pointAt - static_cast<long long>(firstNonZero) > 19) {
        return std::nullopt;
    }
    if (pointAt > static_cast<long long>(digits.size())) {
        digits.append(static_cast<std::size_t>(pointAt) - digits.size(), '0');
    }
    const std::string whole = digits.substr(firstNonZero, pointAt - firstNonZero);
    const std::string fraction = digits.substr(static_cast<std::size_t>(pointAt));
    unsigned __int128 value = 0;
    for (char c : whole) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (!fraction.empty()) {
        const bool more = fraction.find_first_not_of('0', 1) != std::string::npos;
        if (fraction[0] > '5' || (fraction[0] == '5' && (more || value % 2 == 1))) {
            ++value;
        }
    }
    const unsigned __int128 limit =
        negative ? (unsigned __int128)1 << 63 : ((unsigned __int128)1 << 63) - 1;
    if (value > limit) {
        return std::nullopt;
    }
    return negative ? static_cast<std::int64_t>(-static_cast<__int128>(value))
                    : static_cast<std::int64_t>(value);
}

inline std::optional<std::int32_t> expectedInteger(const std::string& text, bool integerOnly) {
    const auto value = expectedRounded(text, integerOnly);
    if (!value || *value < -2147483648LL || *value > 2147483647LL) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

// What FormatCurrency writes in the C locale for a plain amount: the amount in units of
// 1/10000 (ties to even), then in cents (halves away from zero), grouped by threes.
inline std::optional<std::string> expectedCurrencyInC(const std::string& text, bool showZero) {
    const auto units = expectedRounded(text + "e4", false);
    if (!units) {
        return std::nullopt;
    }
    std::int64_t cents = *units / 100;
    if (*units % 100 >= 50) {
        ++cents;
    } else if (*units % 100 <= -50) {
        --cents;
    }
    if (cents == 0 && !showZero) {
        return std::string();
    }
    const unsigned long long magnitude = cents < 0 ? 0ULL - static_cast<unsigned long long>(cents)
                                                   : static_cast<unsigned long long>(cents);
    std::string whole = std::to_string(magnitude / 100);
    for (auto at = static_cast<long long>(whole.size()) - 3; at > 0; at -= 3) {
        whole.insert(static_cast<std::size_t>(at), ",");
    }
    const unsigned long long rest = magnitude % 100;
    return (cents < 0 ? "-" : "") + whole + "." + (rest < 10 ? "0" : "") + std::to_string(rest);
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
