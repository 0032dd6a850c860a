#pragma once

#include "analysis/ConductivitySearch.h"
#include "analysis/DecayCurve.h"
#include "analysis/StationPlan.h"

namespace quorvane::analysis {

// The frictional decay and the heater's fall after it as one (Hartmann and Villinger 2002):
// the decay goes on under the heater, and its records after the heater (a pulse's decay, or
// the cooling after a long heating) pin T_eq down where the decay window alone, a few minutes
// of a thick probe, leaves it to an extrapolation. T_eq and B enter linearly; k (which sets
// both the decay's κ and the fall), the heater's shift and the decay's delay are refined from
// the fits done one after the other.
class JointDecayFit {
public:
    struct Joint {
        DecayCurve decay;
        ConductivityEstimate fall; // a heater curve with its switch-off and no constant
    };

    // `decay` and `fall`: the temperatures in the two windows; the delay stays within
    // [lowestDelayS, highestDelayS].
    static FitOutcome<Joint> fit(const StationPlan& plan, const Samples& decay, const Samples& fall,
                                 double lowestDelayS, double highestDelayS, const Joint& start);
};

} // namespace quorvane::analysis
