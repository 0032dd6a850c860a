#pragma once

#include <cstdint>
#include <optional>

namespace quorvane::probesim {

// Turns a thermistor temperature into the raw reading the instrument would send, given fixed
// reference readings, by inverting the program's own decoding (linear interpolation between
// the 20 kOhm and 100 kOhm readings, resistance rounded to whole ohms, Steinhart-Hart).
class ReadingEncoder {
public:
    // 0x0380 / 0x2A80 spread 8 ohms per count: the widest map that keeps -20..+45 C inside
    // 0000-7FFF while every temperature there still decodes to within 0.01 C.
    static constexpr std::uint16_t kDefaultRef20k = 0x0380;
    static constexpr std::uint16_t kDefaultRef100k = 0x2A80;
    // Readings above 7FFF would depend on whether the program reads them signed.
    static constexpr std::uint16_t kMaxReading = 0x7FFF;

    ReadingEncoder(std::uint16_t ref20k = kDefaultRef20k, std::uint16_t ref100k = kDefaultRef100k);

    std::uint16_t ref20k() const { return m_ref20k; }
    std::uint16_t ref100k() const { return m_ref100k; }

    // The program's conversion of a whole-ohm resistance to degrees Celsius.
    static double temperatureForResistance(double ohms);
    // Inverse of temperatureForResistance (not rounded).
    static double resistanceForTemperature(double celsius);

    // What the program makes of a thermistor reading against these references; nullopt
    // where it would reject the record (equal references, resistance of zero or less).
    std::optional<double> decode(std::uint16_t reading) const;

    // The reading in 0000-7FFF whose decoded temperature lies closest to the given one.
    // Temperatures beyond the encodable range saturate at 0000 or 7FFF.
    std::uint16_t encode(double celsius) const;

    // Decoded temperatures of the two ends of the reading range (lowest first).
    double minTemperature() const;
    double maxTemperature() const;

private:
    std::uint16_t m_ref20k;
    std::uint16_t m_ref100k;
};

} // namespace quorvane::probesim
