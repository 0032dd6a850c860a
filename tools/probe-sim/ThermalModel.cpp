#include "ThermalModel.h"

#include <algorithm>
#include <cmath>

namespace quorvane::probesim {

ThermalModel::ThermalModel(double ambientC, double noiseAmplitudeK, std::uint64_t seed,
                           Clock::time_point start)
    : m_ambient(ambientC), m_noise(noiseAmplitudeK), m_rng(seed), m_channels(defaultChannels()),
      m_last(start) {}

std::array<ThermalModel::Channel, ThermalModel::kChannels> ThermalModel::defaultChannels() {
    // The middle of the probe sits deepest in the heater's field and warms most and slowest.
    return {{{1.8, 6.0}, {2.2, 8.0}, {2.5, 10.0}, {2.3, 9.0}, {1.9, 7.0}}};
}

void ThermalModel::advanceTo(Clock::time_point now) {
    while (m_last < now) {
        const Clock::time_point segmentEnd = (m_end && *m_end < now) ? *m_end : now;
        const double dt = std::chrono::duration<double>(segmentEnd - m_last).count();
        for (int i = 0; i < kChannels; ++i) {
            const double target = m_channels[i].gainAtFullPower * m_level / kMaxLevel;
            const double keep = std::exp(-dt / m_channels[i].timeConstantS);
            m_rise[i] = target + (m_rise[i] - target) * keep;
        }
        m_last = segmentEnd;
        if (m_end && *m_end <= m_last) {
            m_level = 0;
            m_end.reset();
            m_expired = true;
        }
    }
}

void ThermalModel::heaterOn(int level, std::chrono::milliseconds duration, Clock::time_point now) {
    advanceTo(now);
    m_level = std::clamp(level, 0, kMaxLevel);
    m_end = now + duration;
    if (duration.count() <= 0) {
        m_level = 0;
        m_end.reset();
    }
}

void ThermalModel::setPowerLevel(int level, Clock::time_point now) {
    advanceTo(now);
    m_level = std::clamp(level, 0, kMaxLevel);
    m_end.reset();
}

int ThermalModel::level(Clock::time_point now) {
    advanceTo(now);
    return m_level;
}

bool ThermalModel::takeExpired() {
    const bool expired = m_expired;
    return expired;
}

std::array<double, ThermalModel::kChannels>
ThermalModel::noiselessTemperatures(Clock::time_point now) {
    advanceTo(now);
    std::array<double, kChannels> t{};
    for (int i = 0; i < kChannels; ++i) {
        t[i] = m_ambient + m_rise[i];
    }
    return t;
}

std::array<double, ThermalModel::kChannels> ThermalModel::temperatures(Clock::time_point now) {
    auto t = noiselessTemperatures(now);
    if (m_noise > 0.0) {
        std::uniform_real_distribution<double> noise(-m_noise, m_noise);
        for (double& v : t) {
            v += noise(m_rng);
        }
    }
    return t;
}

} // namespace quorvane::probesim
