#include "RecordBuilder.h"

#include <cstdio>

namespace quorvane::probesim {

Readings RecordBuilder::readings(std::uint16_t xtra,
                                 const std::array<double, 5>& temperaturesC) const {
    Readings r{};
    r[kXtra] = xtra;
    r[kRef100k] = m_encoder.ref100k();
    r[kRef20k] = m_encoder.ref20k();
    for (std::size_t i = 0; i < temperaturesC.size(); ++i) {
        r[kFirstThermistor + i] = m_encoder.encode(temperaturesC[i]);
    }
    return r;
}

std::string RecordBuilder::payload(const Readings& readings) {
    std::string out;
    out.reserve(kPayloadLength);
    char field[16];
    for (std::uint16_t v : readings) {
        std::snprintf(field, sizeof field, " %04X", unsigned(v));
        out += field;
    }
    return out;
}

std::string RecordBuilder::record(std::string_view payload) {
    std::string out = ":\x03T";
    out += payload;
    return out;
}

} // namespace quorvane::probesim
