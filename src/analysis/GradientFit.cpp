#include "analysis/GradientFit.h"

#include "analysis/LineFit.h"

#include <cmath>
#include <numbers>

namespace quorvane::analysis {

double GradientFit::verticalDepth(double depthAlongProbeM) const {
    return depthAlongProbeM * std::cos(m_tiltDeg * std::numbers::pi / 180.0);
}

FitOutcome<Gradient> GradientFit::fit(const std::vector<double>& depthsM,
                                      const std::vector<std::optional<double>>& tEqC) const {
    std::vector<double> z;
    std::vector<double> t;
    for (std::size_t i = 0; i < depthsM.size() && i < tEqC.size(); ++i) {
        if (tEqC[i]) {
            z.push_back(verticalDepth(depthsM[i]));
            t.push_back(*tEqC[i]);
        }
    }
    if (static_cast<int>(z.size()) < kMinimumSensors) {
        return FitOutcome<Gradient>::failed(
            QStringLiteral("gradient: fewer than 3 thermistors with an equilibrium temperature"));
    }
    const auto line = LineFit::fit(z, t);
    if (!line) {
        return FitOutcome<Gradient>::failed(QStringLiteral("gradient: thermistors at one depth"));
    }
    Gradient g;
    g.kPerM = line->slope;
    g.errKPerM = line->slopeErr;
    g.interceptC = line->intercept;
    g.sensors = static_cast<int>(z.size());
    return g;
}

} // namespace quorvane::analysis
