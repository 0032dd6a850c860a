#pragma once

#include <optional>
#include <utility>

namespace quorvane::analysis {

// What the operator may set instead of the defaults. Windows are in seconds: the decay
// window from the penetration, the heating window from the heater's switch-on.
struct ReductionOptions {
    using Window = std::pair<double, double>;

    std::optional<double> penetrationS; // UTC seconds since 1970
    std::optional<Window> decayWindowS;
    std::optional<Window> heatingWindowS;
    double penetrationThresholdK = 0.05;
};

} // namespace quorvane::analysis
