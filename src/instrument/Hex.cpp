#include "instrument/Hex.h"

#include "platform/Failure.h"
#include "util/ErrorText.h"
#include <string_view>

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
    // Without "&H" the text is trimmed and read as if prefixed; with it, read as it stands.
    std::string_view literal(s);
    const std::size_t first = literal.find_first_not_of(' ');
    literal = first == std::string_view::npos ? std::string_view() : literal.substr(first);
    literal = literal.substr(0, literal.find_last_not_of(' ') + 1);
    if (containsHexPrefix(s)) {
        if (literal.size() < 2 || literal[0] != '&' || (literal[1] != 'H' && literal[1] != 'h')) {
            throw Failure(errors::kTypeMismatch, "Type mismatch");
        }
        literal.remove_prefix(2);
    }
    if (literal.empty()) {
        throw Failure(errors::kTypeMismatch, "Type mismatch");
    }
    if (literal.size() > 8) {
        throw Failure(errors::kOverflow, "Overflow");
    }
    std::uint32_t value = 0;
    for (char c : literal) {
        const int d = digitValue(c);
        if (d < 0) {
            throw Failure(errors::kTypeMismatch, "Type mismatch");
        }
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace quorvane
