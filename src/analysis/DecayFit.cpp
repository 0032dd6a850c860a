#include "analysis/DecayFit.h"

#include "analysis/LineFit.h"

#include <cmath>

namespace quorvane::analysis {

FitOutcome<DecayCurve> DecayFit::fit(const Samples& samples) const {
    std::vector<double> x;
    std::vector<double> y;
    x.reserve(samples.size());
    y.reserve(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double dt = samples.timeS[i] - m_penetrationS;
        if (dt > 0.0 && std::isfinite(samples.value[i])) {
            x.push_back(1.0 / dt);
            y.push_back(samples.value[i]);
        }
    }
    if (x.size() < 3) {
        return FitOutcome<DecayCurve>::failed(
            QStringLiteral("decay fit: fewer than 3 records in the window"));
    }
    const auto line = LineFit::fit(x, y);
    if (!line) {
        return FitOutcome<DecayCurve>::failed(QStringLiteral("decay fit not possible"));
    }
    DecayCurve curve;
    curve.method = DecayCurve::Method::Line;
    curve.penetrationS = m_penetrationS;
    curve.tEqC = line->intercept;
    curve.tEqErrC = line->interceptErr;
    curve.amplitude = line->slope;
    curve.rmsC = line->rms;
    curve.records = static_cast<int>(x.size());
    return curve;
}

} // namespace quorvane::analysis
