#include "analysis/ConductivityIteration.h"

#include "analysis/LineFit.h"
#include "analysis/LineSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane::analysis {

namespace {
// Keeps a wild first guess from driving κ out of any sediment's range while iterating.
constexpr double kLowestK = 0.01;
constexpr double kHighestK = 100.0;
} // namespace

FitOutcome<ConductivityEstimate> ConductivityIteration::run(double q,
                                                            const std::vector<double>& rise,
                                                            const Basis& basis, double kStart) {
    using Outcome = FitOutcome<ConductivityEstimate>;
    if (rise.size() < 3) {
        return Outcome::failed(QStringLiteral("fewer than 3 records in the window"));
    }
    if (!(q > 0.0)) {
        return Outcome::failed(QStringLiteral("no heater power"));
    }
    double k = std::clamp(std::isfinite(kStart) ? kStart : 1.0, kLowestK, kHighestK);
    std::vector<double> f;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        const double kappa = LineSource::diffusivity(k);
        f.assign(rise.size(), 0.0);
        basis(kappa, f);
        const auto line = LineFit::fit(f, rise);
        if (!line) {
            return Outcome::failed(QStringLiteral("fit not possible"));
        }
        if (!(line->slope > 0.0)) {
            return Outcome::failed(QStringLiteral("no rise from the heater"));
        }
        const double kNew = q / (4.0 * std::numbers::pi * line->slope);
        const bool settled = std::abs(kNew - k) < kTolerance * k;
        if (settled || iteration == kMaxIterations) {
            if (!settled) {
                return Outcome::failed(QStringLiteral("k did not settle"));
            }
            ConductivityEstimate e;
            e.kWPerMK = kNew;
            e.kErrWPerMK = kNew * line->slopeErr / line->slope;
            e.kappaM2PerS = LineSource::diffusivity(kNew);
            e.offsetK = line->intercept;
            e.rmsC = line->rms;
            e.records = static_cast<int>(rise.size());
            e.iterations = iteration;
            return e;
        }
        k = std::clamp(kNew, kLowestK, kHighestK);
    }
    return Outcome::failed(QStringLiteral("k did not settle"));
}

} // namespace quorvane::analysis
