#include "util/Tokenizer.h"

namespace quorvane {

namespace {
// The remainder: never set (as at start), a text, or exhausted (nullopt once started).
struct TokenRemainder {
    bool everSet = false;
    std::optional<std::string> text;
};
TokenRemainder tokenRemainder;
} // namespace

std::optional<std::string> nextToken(const std::optional<std::string>& source,
                                     const std::string& delimiters) {
    if (source && !source->empty()) {
        tokenRemainder.everSet = true;
        tokenRemainder.text = *source;
    }
    if (!tokenRemainder.everSet) {
        // Never set: the first call yields the empty text and exhausts it.
        tokenRemainder.everSet = true;
        tokenRemainder.text.reset();
        return std::string();
    }
    if (!tokenRemainder.text) {
        return std::nullopt;
    }
    std::string& rest = *tokenRemainder.text;
    const std::size_t at = rest.find_first_of(delimiters);
    if (at == std::string::npos || delimiters.empty()) {
        std::string token = std::move(rest);
        tokenRemainder.text.reset();
        return token;
    }
    std::string token = rest.substr(0, at);
    rest.erase(0, at + 1);
    return token;
}

} // namespace quorvane
