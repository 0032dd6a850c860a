#pragma once

#include "analysis/ConductivitySearch.h"
#include "analysis/StationPlan.h"

namespace quorvane::analysis {

// A long heating (a minute or more). While heated, the rise grows as q/(4πk) times the
// cylinder's H(α, τ), whose slope against ln(t - t_on) tends to q/(4πk); the constant beside
// it depends on the probe and any contact resistance, so it is left free. On a thick probe the
// late window still holds τ of only 1 to 5, where H's slope against ln t is 0.7 to 0.9: the
// rise is therefore fitted against H itself, not against ln t. After the switch-off the
// cooling, with the heating's start and stop summed and no constant, gives a second k.
class HeatingFit {
public:
    using Start = std::optional<std::pair<double, double>>;

    static FitOutcome<ConductivityEstimate> heating(const StationPlan& plan, const Samples& rise,
                                                    const Start& start = {});
    static FitOutcome<ConductivityEstimate> cooling(const StationPlan& plan, const Samples& rise,
                                                    const Start& start = {});
};

} // namespace quorvane::analysis
