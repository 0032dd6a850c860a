#include "analysis/HeatingFit.h"

#include <algorithm>

namespace quorvane::analysis {

namespace {

ConductivitySearch::Setup setupFor(const StationPlan& plan, bool withOff) {
    ConductivitySearch::Setup setup;
    setup.model.qWPerM = plan.qWPerM;
    setup.model.onS = *plan.onS;
    if (withOff) {
        setup.model.offS = plan.offS;
    }
    setup.model.radiusM = plan.radiusM;
    setup.model.response = plan.response;
    // The heater column places each switch only to within a record.
    setup.largestShiftS = std::max(plan.intervalS, 1.0);
    return setup;
}

} // namespace

FitOutcome<ConductivityEstimate> HeatingFit::heating(const StationPlan& plan, const Samples& rise,
                                                     const Start& start) {
    auto setup = setupFor(plan, false);
    setup.start = start;
    setup.freeConstant = true;
    const auto outcome = ConductivitySearch::fit(rise, setup);
    if (!outcome) {
        return FitOutcome<ConductivityEstimate>::failed("heating fit: " + outcome.reason());
    }
    return outcome;
}

FitOutcome<ConductivityEstimate> HeatingFit::cooling(const StationPlan& plan, const Samples& rise,
                                                     const Start& start) {
    Samples after;
    for (std::size_t i = 0; i < rise.size(); ++i) {
        if (rise.timeS[i] > *plan.offS) {
            after.add(rise.timeS[i], rise.value[i]);
        }
    }
    auto setup = setupFor(plan, true);
    setup.start = start;
    const auto outcome = ConductivitySearch::fit(after, setup);
    if (!outcome) {
        return FitOutcome<ConductivityEstimate>::failed("cooling fit: " + outcome.reason());
    }
    return outcome;
}

} // namespace quorvane::analysis
