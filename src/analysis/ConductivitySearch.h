#pragma once

#include "analysis/FitOutcome.h"
#include "analysis/HeaterCurve.h"
#include "analysis/Samples.h"

#include <optional>
#include <utility>

namespace quorvane::analysis {

struct ConductivityEstimate {
    HeaterCurve curve; // the fitted curve: k, κ, shift and constant filled in
    double kWPerMK = 0.0;
    double kErrWPerMK = 0.0;
    double kappaM2PerS = 0.0;
    double shiftS = 0.0;
    double constantK = 0.0;
    double rmsC = 0.0;
    double riseK = 0.0; // the largest heater rise in the window, without the constant
    int records = 0;
};

// Finds the k (κ from k) and the small shift s of the heater's switches that make a heater
// curve fit the rise best. k is scanned on a log grid, then the best point is refined by
// Levenberg-Marquardt in (ln k, s[, C]); a fixed-point iteration k -> κ -> k is not used, as
// it can run away from the answer. The errors come from the refinement's covariance.
class ConductivitySearch {
public:
    struct Setup {
        HeaterCurve model;         // q, switches, radius and response; k and κ are searched
        bool freeConstant = false; // a constant C beside the curve (the heating, not a decay)
        double largestShiftS = 1.0;
        // Where a live update may start instead of the scans: the last record's answer,
        // which lies in the same basin (the refinement ends at the same minimum).
        std::optional<std::pair<double, double>> start; // k and shift
    };

    static constexpr double kLowestK = 0.1;
    static constexpr double kHighestK = 10.0;

    static FitOutcome<ConductivityEstimate> fit(const Samples& rise, const Setup& setup);
};

} // namespace quorvane::analysis
