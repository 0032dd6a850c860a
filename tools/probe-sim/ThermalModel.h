#pragma once

#include "ForwardModel.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace quorvane::probesim {

// The live probe: keeps the heater's history as the instrument's commands set it and asks
// the forward model for the temperatures at a moment, in seconds since the start. Noise is
// Gaussian with the given standard deviation.
class ThermalModel {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kChannels = ForwardModel::kSensors;
    static constexpr int kMaxLevel = 200;

    ThermalModel(const ForwardModel& model, double noiseSdK, std::uint64_t seed,
                 Clock::time_point start);

    // Heater on at the level for the duration, then off by itself.
    void heaterOn(int level, std::chrono::milliseconds duration, Clock::time_point now);
    // Heater at the level until told otherwise; level 0 is off.
    void setPowerLevel(int level, Clock::time_point now);

    int level(Clock::time_point now);
    std::optional<Clock::time_point> heaterEnd() const { return m_end; }
    // True once after a timed heater-on ran out (checked up to the last query).
    bool takeExpired();

    const std::vector<HeaterSpan>& heaterSpans() const { return m_spans; }
    double secondsSinceStart(Clock::time_point now) const;

    std::array<double, kChannels> temperatures(Clock::time_point now);
    std::array<double, kChannels> noiselessTemperatures(Clock::time_point now);

private:
    void advanceTo(Clock::time_point now);
    void switchTo(int level, std::optional<double> offS, Clock::time_point now);

    ForwardModel m_model;
    double m_noise;
    std::mt19937_64 m_rng;
    Clock::time_point m_start;
    std::vector<HeaterSpan> m_spans;
    int m_level = 0;
    std::optional<Clock::time_point> m_end;
    bool m_expired = false;
};

} // namespace quorvane::probesim
