#pragma once

#include "ReadingEncoder.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::probesim {

// Field order of a record: Xtra, 100K, 20K, TTop, T2, T3, T4, TBot.
using Readings = std::array<std::uint16_t, 8>;

enum ReadingIndex { kXtra = 0, kRef100k = 1, kRef20k = 2, kFirstThermistor = 3 };

// Builds the instrument's data records: ":", the character of code 3, "T", then eight
// fields of a space and four upper-case hex digits, then CR LF (43 characters before it).
class RecordBuilder {
public:
    static constexpr std::size_t kPayloadLength = 40;
    static constexpr std::size_t kLineLength = 43;

    explicit RecordBuilder(ReadingEncoder encoder = ReadingEncoder()) : m_encoder(encoder) {}

    const ReadingEncoder& encoder() const { return m_encoder; }

    // Xtra carries the caller's value (the simulator numbers its records there).
    Readings readings(std::uint16_t xtra, const std::array<double, 5>& temperaturesC) const;

    static std::string payload(const Readings& readings);
    // ":" + code 3 + "T" + payload, without the line end.
    static std::string record(std::string_view payload);
    static std::string line(const Readings& readings) { return record(payload(readings)) + "\r\n"; }

private:
    ReadingEncoder m_encoder;
};

} // namespace quorvane::probesim
