#pragma once

// How the program turns a record into temperatures, written out independently of the
// simulator so the simulator's inversion is checked against it.

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::probesim::test {

inline std::optional<double> programResistance(double reading20k, double reading100k,
                                               double thermistorReading) {
    if (reading100k == reading20k) {
        return std::nullopt;
    }
    return (thermistorReading - reading20k) / (reading100k - reading20k) * 80000.0 + 20000.0;
}

inline double programR2t(double ohms) {
    const double l = std::log(ohms);
    const double d = 1.275e-7 * l * l * l + (0.0002211 * l + 0.0009354);
    return d == 0.0 ? -99.99 : 1.0 / d - 273.15;
}

// Temperature of one channel as the program shows it, or nullopt when it rejects the record.
inline std::optional<double> programTemperature(std::uint16_t r20k, std::uint16_t r100k,
                                                std::uint16_t x) {
    const auto r = programResistance(r20k, r100k, x);
    if (!r) {
        return std::nullopt;
    }
    const double whole = std::nearbyint(*r);
    if (whole <= 0.0) {
        return std::nullopt;
    }
    return programR2t(whole);
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

// The program's record test and decoding of one framed line: the five temperatures when it
// accepts the line as a data record.
inline std::optional<std::array<double, 5>> programDecodeLine(std::string_view line) {
    if (line.size() != 43 || line[0] != ':' || line[1] != '\x03' || line[2] != 'T' ||
        line[3] != ' ') {
        return std::nullopt;
    }
    std::array<std::uint16_t, 8> f{};
    for (int i = 0; i < 8; ++i) {
        const std::string_view field = line.substr(3 + i * 5, 5);
        if (field[0] != ' ') {
            return std::nullopt;
        }
        if (i == 0) {
            continue; // Xtra is carried, never converted
        }
        if (!isHexField(field.substr(1))) {
            return std::nullopt;
        }
        f[i] = static_cast<std::uint16_t>(std::stoul(std::string(field.substr(1)), nullptr, 16));
    }
    std::array<double, 5> t{};
    for (int c = 0; c < 5; ++c) {
        const auto v = programTemperature(f[2], f[1], f[3 + c]);
        if (!v) {
            return std::nullopt;
        }
        t[c] = *v;
    }
    return t;
}

} // namespace quorvane::probesim::test
