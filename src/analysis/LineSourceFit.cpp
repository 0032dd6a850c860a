#include "analysis/LineSourceFit.h"

#include <cmath>

namespace quorvane::analysis {

FitOutcome<ConductivityEstimate> LineSourceFit::fit(const Samples& rise, double kStart) const {
    std::vector<double> dt;
    std::vector<double> y;
    for (std::size_t i = 0; i < rise.size(); ++i) {
        if (rise.timeS[i] > m_onS && std::isfinite(rise.value[i])) {
            dt.push_back(rise.timeS[i] - m_onS);
            y.push_back(rise.value[i]);
        }
    }
    const auto outcome = ConductivityIteration::run(
        m_source.qWPerM(), y,
        [&](double kappa, std::vector<double>& f) {
            for (std::size_t i = 0; i < dt.size(); ++i) {
                f[i] = m_source.e1After(kappa, dt[i]);
            }
        },
        kStart);
    if (!outcome) {
        return FitOutcome<ConductivityEstimate>::failed("heating fit: " + outcome.reason());
    }
    return outcome;
}

} // namespace quorvane::analysis
