// The tokens of a text joined by the delimiters that ended them give the text back.
#include "util/Tokenizer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t split = 1 + data[0] % 4;
    if (size < 1 + split) {
        return 0;
    }
    const std::string delimiters(reinterpret_cast<const char*>(data + 1), split);
    const std::string text(reinterpret_cast<const char*>(data + 1 + split), size - 1 - split);
    if (text.empty()) {
        return 0;
    }
    std::string rebuilt;
    std::optional<std::string> token = quorvane::nextToken(text, delimiters);
    std::size_t tokens = 0;
    while (token) {
        rebuilt += *token;
        if (rebuilt.size() < text.size()) {
            rebuilt += text[rebuilt.size()];
        }
        token = quorvane::nextToken(std::nullopt, delimiters);
        if (++tokens > text.size() + 1) {
            std::abort();
        }
    }
    if (rebuilt != text && rebuilt != text.substr(0, rebuilt.size())) {
        std::abort();
    }
    return 0;
}
