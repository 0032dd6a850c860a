#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

namespace quorvane::probesim {

// Five thermistors of a probe in sediment: each sits at the ambient temperature and follows
// the heater with a first-order lag of its own (gain at full power, time constant), so it
// rises while the heater is on and decays back afterwards. Noise is uniform in +-amplitude.
class ThermalModel {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kChannels = 5;
    static constexpr int kMaxLevel = 200;

    struct Channel {
        double gainAtFullPower; // steady-state rise in kelvin at level 200
        double timeConstantS;
    };

    ThermalModel(double ambientC, double noiseAmplitudeK, std::uint64_t seed,
                 Clock::time_point start);

    static std::array<Channel, kChannels> defaultChannels();
    void setChannels(const std::array<Channel, kChannels>& channels) { m_channels = channels; }

    // Heater on at the level for the duration, then off by itself.
    void heaterOn(int level, std::chrono::milliseconds duration, Clock::time_point now);
    // Heater at the level until told otherwise; level 0 is off.
    void setPowerLevel(int level, Clock::time_point now);

    int level(Clock::time_point now);
    std::optional<Clock::time_point> heaterEnd() const { return m_end; }
    // True once after a timed heater-on ran out (checked up to the last query).
    bool takeExpired();

    std::array<double, kChannels> temperatures(Clock::time_point now);
    std::array<double, kChannels> noiselessTemperatures(Clock::time_point now);

private:
    void advanceTo(Clock::time_point now);

    double m_ambient;
    double m_noise;
    std::mt19937_64 m_rng;
    std::array<Channel, kChannels> m_channels;
    std::array<double, kChannels> m_rise{};
    Clock::time_point m_last;
    int m_level = 0;
    std::optional<Clock::time_point> m_end;
    bool m_expired = false;
};

} // namespace quorvane::probesim
