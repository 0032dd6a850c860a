#include "instrument/Hex.h"

#include "platform/Failure.h"
#include "util/ErrorText.h"
#include "util/Util.h"

namespace quorvane {

namespace {

bool containsHexPrefix(const std::string& s) {
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] == '&' && (s[i + 1] == 'H' || s[i + 1] == 'h')) {
            return true;
        }
    }
    return false;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::int32_t hex2decimal(const std::string& s) {
    const std::string literal = containsHexPrefix(s) ? trimSpaces(s) : "&H" + trimSpaces(s);
    if (literal.size() < 3 || literal[0] != '&' || (literal[1] != 'H' && literal[1] != 'h')) {
        throw Failure(errors::kTypeMismatch, "Type mismatch");
    }
    const std::size_t digits = literal.size() - 2;
    if (digits > 8) {
        throw Failure(errors::kOverflow, "Overflow");
    }
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < literal.size(); ++i) {
        const int d = digitValue(literal[i]);
        if (d < 0) {
            throw Failure(errors::kTypeMismatch, "Type mismatch");
        }
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace quorvane
