#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"

namespace quorvane::analysis {

// The station from its thermistors: the gradient of T_eq against vertical depth, the
// harmonic mean k, the heat flow by the interval and Bullard methods with their errors, and
// the quality word with what caps it.
class StationSummary {
public:
    // Which thermistors the gradient and the mean k may use (the operator may leave some out).
    struct Use {
        std::array<bool, 5> gradient{true, true, true, true, true};
        std::array<bool, 5> k{true, true, true, true, true};
    };

    static void summarise(const ProbeProfile& profile, const Use& use, ReductionResults& out);
};

} // namespace quorvane::analysis
