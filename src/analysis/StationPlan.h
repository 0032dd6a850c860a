#pragma once

#include "analysis/CylinderResponse.h"
#include "analysis/SensorHealth.h"
#include "analysis/StationRecords.h"

#include <array>
#include <memory>
#include <optional>

namespace quorvane::analysis {

// A span of time in UTC seconds.
struct TimeWindow {
    double fromS = 0.0;
    double toS = 0.0;
};

// What the whole station tells before any thermistor is fitted: the penetration, the heater,
// the windows, the probe's geometry, and what the operator chose.
struct StationPlan {
    double intervalS = 0.0;
    double firstS = 0.0;
    double lastS = 0.0;

    double penetrationS = 0.0;
    bool penetrationSeen = false;
    // The last record in the water before the penetration, when there is one: the heating of
    // the penetration cannot come before it.
    std::optional<double> lastInWaterS;
    std::array<SensorHealth::State, kSensorCount> health{};
    std::array<double, kSensorCount> offsetsC{}; // taken off each thermistor's readings

    std::optional<TimeWindow> decay;

    std::optional<double> onS;
    std::optional<double> offS;
    double qWPerM = 0.0;
    bool pulse = false;
    std::optional<TimeWindow> heating;    // a long heating's window
    std::optional<TimeWindow> cooling;    // after a long heating
    std::optional<TimeWindow> pulseGiven; // the operator's pulse window; else the default

    // The probe: its radius and Bullard's response for its α (none for a line, alpha 0).
    double radiusM = 0.001;
    std::shared_ptr<const CylinderResponse> response;

    std::array<std::optional<double>, kSensorCount> enteredK{};
};

} // namespace quorvane::analysis
