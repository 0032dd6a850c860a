#include "util/DecimalText.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace quorvane::decimalText {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a numeric text: its significant digits (no leading zeros) and the power
// of ten of the last of them.
struct DecimalParts {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

// Far beyond any 64-bit value or any digit count a field can hold; keeps the arithmetic
// on exponents free of overflow.
constexpr long long kExponentLimit = 1'000'000'000;

std::optional<DecimalParts> split(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') {
        ++i;
    }
    DecimalParts parts;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    long long fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        if (isDigit(text[i])) {
            ++mantissaDigits;
            if (point) {
                ++fractionDigits;
            }
            // Leading zeros say nothing; the point's place is kept in fractionDigits.
            if (!(parts.digits.empty() && text[i] == '0')) {
                parts.digits += text[i];
            }
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        std::size_t exponentDigits = 0;
        for (; i < n && isDigit(text[i]); ++i) {
            ++exponentDigits;
            if (exponent < kExponentLimit) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    while (i < n && text[i] == ' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    // Trailing zeros of the significant digits only raise the exponent.
    std::size_t kept = parts.digits.size();
    while (kept > 0 && parts.digits[kept - 1] == '0') {
        --kept;
    }
    const long long droppedZeros = static_cast<long long>(parts.digits.size() - kept);
    parts.digits.resize(kept);
    parts.exponent = exponent - fractionDigits + droppedZeros;
    return parts;
}

} // namespace

std::optional<std::int64_t> roundedScaled(std::string_view text, int scale) {
    std::optional<DecimalParts> parts = split(text);
    if (!parts) {
        return std::nullopt;
    }
    if (parts->digits.empty()) {
        return 0;
    }
    const long long shift = parts->exponent + scale;
    const long long count = static_cast<long long>(parts->digits.size());
    // The digits that stay before the point, and the first one dropped.
    const long long whole = count + shift;
    constexpr std::uint64_t kMaxMagnitude = std::uint64_t{1} << 63;
    if (whole > 19) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    for (long long k = 0; k < whole; ++k) {
        const int digit = k < count ? parts->digits[static_cast<std::size_t>(k)] - '0' : 0;
        if (magnitude > (kMaxMagnitude - static_cast<std::uint64_t>(digit)) / 10) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit);
    }
    if (whole < count) {
        // Something is dropped: compare it with one half.
        const int first = whole >= 0 ? parts->digits[static_cast<std::size_t>(whole)] - '0' : 0;
        // The significant digits end in a non-zero digit, so anything after the first
        // dropped one is more than nothing.
        const bool more = whole + 1 < count;
        const bool up = first > 5 || (first == 5 && (more || magnitude % 2 == 1));
        if (up) {
            if (magnitude == kMaxMagnitude) {
                return std::nullopt;
            }
            ++magnitude;
        }
    }
    if (parts->negative) {
        if (magnitude == kMaxMagnitude) {
            return std::numeric_limits<std::int64_t>::min();
        }
        return -static_cast<std::int64_t>(magnitude);
    }
    if (magnitude == kMaxMagnitude) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(magnitude);
}

namespace {

template <typename... Format>
std::string toChars(std::size_t decimals, double value, Format... format) {
    // Room for the longest fixed double (some 310 digits before the point) and the decimals.
    std::string buffer(400 + decimals, '\0');
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
    if (result.ec != std::errc()) {
        return {};
    }
    buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
    return buffer;
}

} // namespace

std::string plainDigits(double value) {
    return toChars(0, value, std::chars_format::fixed);
}

std::string exponentDigits(double value) {
    return toChars(0, value, std::chars_format::scientific);
}

std::string exponentDigits(double value, int decimals) {
    return toChars(decimals > 0 ? static_cast<std::size_t>(decimals) : 0, value,
                   std::chars_format::scientific, decimals);
}

std::string fixedDigits(double value, int decimals) {
    return toChars(decimals > 0 ? static_cast<std::size_t>(decimals) : 0, value,
                   std::chars_format::fixed, decimals);
}

} // namespace quorvane::decimalText
