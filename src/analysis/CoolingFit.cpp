#include "analysis/CoolingFit.h"

#include <cmath>

namespace quorvane::analysis {

FitOutcome<ConductivityEstimate> CoolingFit::fit(const Samples& rise, double kStart) const {
    std::vector<double> t;
    std::vector<double> y;
    for (std::size_t i = 0; i < rise.size(); ++i) {
        if (rise.timeS[i] > m_offS && std::isfinite(rise.value[i])) {
            t.push_back(rise.timeS[i]);
            y.push_back(rise.value[i]);
        }
    }
    const auto outcome = ConductivityIteration::run(
        m_source.qWPerM(), y,
        [&](double kappa, std::vector<double>& f) {
            for (std::size_t i = 0; i < t.size(); ++i) {
                f[i] =
                    m_source.e1After(kappa, t[i] - m_onS) - m_source.e1After(kappa, t[i] - m_offS);
            }
        },
        kStart);
    if (!outcome) {
        return FitOutcome<ConductivityEstimate>::failed("cooling fit: " + outcome.reason());
    }
    return outcome;
}

} // namespace quorvane::analysis
