#pragma once

#include "analysis/ConductivitySearch.h"
#include "analysis/StationPlan.h"

#include <vector>

namespace quorvane::analysis {

// A heat pulse (a heat time under a minute): its decay after the switch-off gives k. The
// curve is the cylinder's response summed over the pulse, which equals one heating of
// E = q·(t_off - t_on) at the pulse's middle once τ is large; its shape and size are both set
// by k, so the fit is a search for k and a small shift of the pulse, with nothing else free.
class PulseFit {
public:
    using Start = std::optional<std::pair<double, double>>;

    // The window in τ after the pulse's middle that the default takes (about 2 to 10).
    static constexpr double kFromTau = 2.0;
    static constexpr double kToTau = 10.0;
    static constexpr int kFewestRecords = 5;

    // The default window for diffusivity κ: τ from 2 to 10 after the middle, after the switch-
    // off and within the records, widened to five records where the records have them.
    static std::optional<TimeWindow> defaultWindow(const StationPlan& plan, double kappa,
                                                   const std::vector<double>& timeS);

    // The pulse alone, on the rise the decay carried forward left.
    static FitOutcome<ConductivityEstimate> fit(const StationPlan& plan, const Samples& rise,
                                                const Start& start = {});
};

} // namespace quorvane::analysis
