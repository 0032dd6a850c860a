// hex2decimal either throws Failure or returns the value of the hex digits it was given.
#include "instrument/Hex.h"
#include "platform/Failure.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const std::int32_t value = quorvane::hex2decimal(text);
        const std::string digits = text.substr(text.find_first_not_of(" &Hh"));
        const unsigned long long expected = std::strtoull(digits.c_str(), nullptr, 16);
        if (static_cast<std::uint32_t>(expected) != static_cast<std::uint32_t>(value)) {
            std::abort();
        }
    } catch (const quorvane::Failure&) {
    }
    return 0;
}
