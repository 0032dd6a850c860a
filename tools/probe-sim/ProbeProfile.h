#pragma once

#include <array>
#include <optional>
#include <string>

namespace quorvane::probesim {

// What the data file does not say about a probe: where its thermistors sit along it, the
// heater's calibration, its radius, how its heat capacity compares with the sediment's and how
// far it leans.
struct ProbeProfile {
    static constexpr int kSensors = 5;
    // The cylinder's quadrature is checked over this range.
    static constexpr double kLowestAlpha = 0.1;
    static constexpr double kHighestAlpha = 10.0;

    std::string serial = "0417";
    std::array<double, kSensors> depthsM{0.0, 0.5, 1.0, 1.5, 2.0}; // along the probe, TTop first
    double heaterWPerMPerLevel = 0.25;
    double radiusM = 0.001;
    // α = 2·(ρc)_sediment/(ρc)_probe of Bullard's cylinder; 0: an ideal line source.
    double alpha = 2.0;
    double tiltDeg = 0.0;

    // Empty when the profile can serve the model, else why not.
    std::string problem() const;

    // A profile from its JSON text; keys left out keep their defaults.
    static std::optional<ProbeProfile> fromJson(const std::string& json, std::string& error);
    static std::optional<ProbeProfile> load(const std::string& path, std::string& error);
};

} // namespace quorvane::probesim
