#include "ReadingEncoder.h"

#include <algorithm>
#include <cmath>

namespace quorvane::probesim {

namespace {
constexpr double kA = 0.0009354;
constexpr double kB = 0.0002211;
constexpr double kC = 1.275e-7;
constexpr double kZeroCelsius = 273.15;
} // namespace

ReadingEncoder::ReadingEncoder(std::uint16_t ref20k, std::uint16_t ref100k)
    : m_ref20k(ref20k), m_ref100k(ref100k) {}

double ReadingEncoder::temperatureForResistance(double ohms) {
    const double l = std::log(ohms);
    const double d = kC * l * l * l + (kB * l + kA);
    if (d == 0.0) {
        return -99.99;
    }
    return 1.0 / d - kZeroCelsius;
}

double ReadingEncoder::resistanceForTemperature(double celsius) {
    // Solve C*L^3 + B*L + A = 1/T for L = ln R. The left side rises monotonically and is
    // convex for L > 0, so Newton from above converges without overshooting below the root.
    const double y = 1.0 / (celsius + kZeroCelsius);
    double l = 20.0;
    for (int i = 0; i < 100; ++i) {
        const double g = kC * l * l * l + kB * l + kA - y;
        const double step = g / (3.0 * kC * l * l + kB);
        l -= step;
        if (std::fabs(step) < 1e-14) {
            break;
        }
    }
    return std::exp(l);
}

std::optional<double> ReadingEncoder::decode(std::uint16_t reading) const {
    const double a = m_ref20k;
    const double b = m_ref100k;
    if (a == b) {
        return std::nullopt;
    }
    const double r = (reading - a) / (b - a) * 80000.0 + 20000.0;
    const double whole = std::nearbyint(r); // default rounding: half to even
    if (!(whole > 0.0)) {
        return std::nullopt;
    }
    return temperatureForResistance(whole);
}

std::uint16_t ReadingEncoder::encode(double celsius) const {
    if (m_ref20k == m_ref100k) {
        return m_ref20k;
    }
    const double r = resistanceForTemperature(celsius);
    const double ideal = m_ref20k + (r - 20000.0) / 80000.0 * (double(m_ref100k) - m_ref20k);
    const double lo = std::floor(ideal) - 1.0;
    long best = -1;
    double bestError = 0.0;
    // The rounding to whole ohms makes the nearest count not always the best one.
    for (double c = lo; c <= lo + 3.0; c += 1.0) {
        if (c < 0.0 || c > kMaxReading) {
            continue;
        }
        const auto t = decode(static_cast<std::uint16_t>(c));
        if (!t) {
            continue;
        }
        const double error = std::fabs(*t - celsius);
        if (best < 0 || error < bestError) {
            best = static_cast<long>(c);
            bestError = error;
        }
    }
    if (best < 0) {
        best = std::clamp(std::lround(ideal), 0L, long(kMaxReading));
    }
    return static_cast<std::uint16_t>(best);
}

double ReadingEncoder::minTemperature() const {
    const auto a = decode(0);
    const auto b = decode(kMaxReading);
    if (a && b) {
        return std::min(*a, *b);
    }
    return a ? *a : b.value_or(std::nan(""));
}

double ReadingEncoder::maxTemperature() const {
    const auto a = decode(0);
    const auto b = decode(kMaxReading);
    if (a && b) {
        return std::max(*a, *b);
    }
    return a ? *a : b.value_or(std::nan(""));
}

} // namespace quorvane::probesim
