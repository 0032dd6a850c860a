#include "ThermalModel.h"

#include <algorithm>

namespace quorvane::probesim {

ThermalModel::ThermalModel(const ForwardModel& model, double noiseSdK, std::uint64_t seed,
                           Clock::time_point start)
    : m_model(model), m_noise(noiseSdK), m_rng(seed), m_start(start) {}

double ThermalModel::secondsSinceStart(Clock::time_point now) const {
    return std::chrono::duration<double>(now - m_start).count();
}

void ThermalModel::advanceTo(Clock::time_point now) {
    // The timed span already carries its end; only the level has to follow.
    if (m_end && *m_end <= now) {
        m_level = 0;
        m_end.reset();
        m_expired = true;
    }
}

void ThermalModel::switchTo(int level, std::optional<double> offS, Clock::time_point now) {
    advanceTo(now);
    const double t = secondsSinceStart(now);
    if (!m_spans.empty() && (!m_spans.back().offS || *m_spans.back().offS > t)) {
        m_spans.back().offS = t;
    }
    m_level = std::clamp(level, 0, kMaxLevel);
    m_end.reset();
    if (m_level > 0 && (!offS || *offS > t)) {
        m_spans.push_back({t, offS, double(m_level)});
    } else {
        m_level = 0;
    }
}

void ThermalModel::heaterOn(int level, std::chrono::milliseconds duration, Clock::time_point now) {
    switchTo(level, secondsSinceStart(now + duration), now);
    if (m_level > 0) {
        m_end = now + duration;
    }
}

void ThermalModel::setPowerLevel(int level, Clock::time_point now) {
    switchTo(level, std::nullopt, now);
}

int ThermalModel::level(Clock::time_point now) {
    advanceTo(now);
    return m_level;
}

bool ThermalModel::takeExpired() {
    const bool expired = m_expired;
    m_expired = false;
    return expired;
}

std::array<double, ThermalModel::kChannels>
ThermalModel::noiselessTemperatures(Clock::time_point now) {
    advanceTo(now);
    return m_model.temperatures(secondsSinceStart(now), m_spans);
}

std::array<double, ThermalModel::kChannels> ThermalModel::temperatures(Clock::time_point now) {
    auto t = noiselessTemperatures(now);
    if (m_noise > 0.0) {
        std::normal_distribution<double> noise(0.0, m_noise);
        for (double& v : t) {
            v += noise(m_rng);
        }
    }
    return t;
}

} // namespace quorvane::probesim
