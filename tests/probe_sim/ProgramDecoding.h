#pragma once

// The program's own decoding, from the core library, applied to what the simulator sends:
// the simulator's inversion is checked against the code that will read its records.

#include "fakes/FakeDialogs.h"
#include "instrument/RecordDecoder.h"
#include "instrument/Thermistor.h"
#include "util/NumericText.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::probesim::test {

// Temperature of one channel as the program decodes it, or nullopt when it rejects it.
inline std::optional<double> programTemperature(std::uint16_t r20k, std::uint16_t r100k,
                                                std::uint16_t x) {
    const auto r = quorvane::resistance(r20k, r100k, x);
    if (!r) {
        return std::nullopt;
    }
    try {
        return quorvane::r2t(quorvane::roundHalfEven(*r));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

inline bool isHexField(std::string_view f) {
    if (f.size() != 4) {
        return false;
    }
    for (char c : f) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// The program's record test on one framed line, then its decoding of the payload: the five
// temperatures when it accepts the line as a data record.
inline std::optional<std::array<double, 5>> programDecodeLine(std::string_view line) {
    if (line.size() != 43 || line[0] != ':' || line[1] != '\x03' || line[2] != 'T' ||
        line[3] != ' ') {
        return std::nullopt;
    }
    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    try {
        decoder.decode(std::string(line.substr(3)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::array<double, 5> t{};
    for (std::size_t c = 0; c < 5; ++c) {
        t[c] = decoder.temperatureC[c];
    }
    return t;
}

} // namespace quorvane::probesim::test
