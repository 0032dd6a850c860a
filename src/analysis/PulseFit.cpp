#include "analysis/PulseFit.h"

#include <algorithm>

namespace quorvane::analysis {

std::optional<TimeWindow> PulseFit::defaultWindow(const StationPlan& plan, double kappa,
                                                  const std::vector<double>& t) {
    if (!plan.onS || !plan.offS || !(kappa > 0.0)) {
        return std::nullopt;
    }
    const double middle = (*plan.onS + *plan.offS) / 2.0;
    const double scale = plan.radiusM * plan.radiusM / kappa;
    TimeWindow w{std::max(middle + kFromTau * scale, *plan.offS),
                 std::min(middle + kToTau * scale, plan.lastS)};
    if (!(w.toS > *plan.offS)) {
        return std::nullopt;
    }
    auto inside = [&](const TimeWindow& x) {
        return std::count_if(t.begin(), t.end(),
                             [&](double s) { return s > x.fromS && s <= x.toS; });
    };
    // Short windows (a thin needle, records 10 s apart) take the next records after them,
    // then the earlier ones back to the switch-off.
    const auto first = std::upper_bound(t.begin(), t.end(), std::max(w.fromS, *plan.offS));
    const auto records = inside(w);
    if (records < kFewestRecords) {
        const auto want = std::min<std::ptrdiff_t>(kFewestRecords, t.end() - first);
        if (want > 0 && first + want - 1 < t.end()) {
            w.toS = std::max(w.toS, *(first + want - 1));
        }
        if (inside(w) < kFewestRecords) {
            w.fromS = *plan.offS;
        }
    }
    if (!(w.toS > w.fromS)) {
        return std::nullopt;
    }
    return w;
}

FitOutcome<ConductivityEstimate> PulseFit::fit(const StationPlan& plan, const Samples& rise,
                                               const Start& start) {
    ConductivitySearch::Setup setup;
    setup.model.qWPerM = plan.qWPerM;
    setup.model.onS = *plan.onS;
    setup.model.offS = plan.offS;
    setup.model.radiusM = plan.radiusM;
    setup.model.response = plan.response;
    setup.freeConstant = false;
    // The heater column places the pulse only to within a record.
    setup.largestShiftS = std::max(plan.intervalS, 1.0);
    setup.start = start;
    const auto outcome = ConductivitySearch::fit(rise, setup);
    if (!outcome) {
        return FitOutcome<ConductivityEstimate>::failed("pulse fit: " + outcome.reason());
    }
    return outcome;
}

} // namespace quorvane::analysis
