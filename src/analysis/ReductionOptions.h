#pragma once

#include <QString>

#include <array>
#include <optional>
#include <utility>

namespace quorvane::analysis {

// What the operator may set instead of the defaults. Windows are in seconds: the decay
// window from the penetration, the heating window from the heater's switch-on, the pulse
// window from the pulse's middle.
struct ReductionOptions {
    using Window = std::pair<double, double>;

    std::optional<double> penetrationS; // UTC seconds since 1970
    std::optional<Window> decayWindowS;
    std::optional<Window> heatingWindowS;
    std::optional<Window> pulseWindowS;
    double penetrationThresholdK = 0.05;
    // Each thermistor's offset from the mean of all, over the quiet records in the water
    // before the penetration, is taken off its temperatures.
    bool calibrateBottomWater = false;
    // Conductivities the operator gives (W/(m K)), used instead of a heater's.
    std::array<std::optional<double>, 5> enteredK{};
    // Thermistors the operator leaves out of the gradient or of the mean k, and why. They are
    // still fitted and shown.
    std::array<bool, 5> excludeFromGradient{};
    std::array<bool, 5> excludeFromK{};
    std::array<QString, 5> exclusionReason{};

    bool operator==(const ReductionOptions&) const = default;
};

} // namespace quorvane::analysis
