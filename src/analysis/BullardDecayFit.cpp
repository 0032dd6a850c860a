#include "analysis/BullardDecayFit.h"

#include "analysis/LineFit.h"
#include "analysis/MinimumSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::analysis {

namespace {
// The delay is refined to a hundredth of a second: far below what the records can tell.
constexpr double kDelayToleranceS = 0.01;
} // namespace

bool BullardDecayFit::atRangeEdge(const DecayCurve& curve, const Delays& delays, double highestS) {
    const double high = std::min(delays.highestS, highestS);
    return curve.delayS <= delays.lowestS + kDelayToleranceS ||
           curve.delayS >= high - kDelayToleranceS;
}

FitOutcome<DecayCurve> BullardDecayFit::fit(const Samples& samples) const {
    using Outcome = FitOutcome<DecayCurve>;
    std::vector<double> t;
    std::vector<double> y;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples.timeS[i] > m_penetrationS && std::isfinite(samples.value[i])) {
            t.push_back(samples.timeS[i]);
            y.push_back(samples.value[i]);
        }
    }
    if (t.size() < 3) {
        return Outcome::failed(QStringLiteral("decay fit: fewer than 3 records in the window"));
    }
    if (!(m_kappa > 0.0) || !(m_radiusM > 0.0) || !m_response) {
        return Outcome::failed(QStringLiteral("decay fit not possible"));
    }
    // The heating cannot come after the first record fitted.
    const double latest = *std::min_element(t.begin(), t.end()) - m_penetrationS;
    const double high = std::min(m_delays.highestS, latest - 1e-3);
    const double low = std::min(m_delays.lowestS, high);

    double meanY = 0.0;
    for (double v : y) {
        meanY += v;
    }
    meanY /= static_cast<double>(y.size());
    const double scale = m_kappa / (m_radiusM * m_radiusM);
    std::vector<double> x(t.size());
    // The misfit of the straight line for one delay: two passes about the means.
    auto misfit = [&](double delay) {
        double meanX = 0.0;
        for (std::size_t i = 0; i < t.size(); ++i) {
            x[i] = m_response->pulse(scale * (t[i] - m_penetrationS - delay));
            meanX += x[i];
        }
        meanX /= static_cast<double>(x.size());
        double sxx = 0.0;
        double sxy = 0.0;
        double syy = 0.0;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const double dx = x[i] - meanX;
            const double dy = y[i] - meanY;
            sxx += dx * dx;
            sxy += dx * dy;
            syy += dy * dy;
        }
        if (!(sxx > 0.0)) {
            return std::numeric_limits<double>::infinity();
        }
        return syy - sxy * sxy / sxx;
    };
    const int points = std::clamp(
        static_cast<int>(std::ceil((high - low) / std::max(m_delays.stepS, 1e-3))) + 1, 2, 41);
    Minimum best{high, 0.0};
    if (!(high > low)) {
        best.value = misfit(high);
    } else if (m_delays.near && *m_delays.near > low && *m_delays.near < high) {
        const double reach = 2.0 * std::max(m_delays.stepS, 1.0);
        best = MinimumSearch::brent(misfit, std::max(low, *m_delays.near - reach),
                                    std::min(high, *m_delays.near + reach), kDelayToleranceS);
    } else {
        best = MinimumSearch::scanThenRefine(misfit, low, high, points, false, kDelayToleranceS);
    }
    for (std::size_t i = 0; i < t.size(); ++i) {
        x[i] = m_response->pulse(scale * (t[i] - m_penetrationS - best.x));
    }
    const auto line = LineFit::fit(x, y);
    if (!line) {
        return Outcome::failed(QStringLiteral("decay fit not possible"));
    }
    DecayCurve curve;
    curve.method = DecayCurve::Method::Bullard;
    curve.penetrationS = m_penetrationS;
    curve.delayS = best.x;
    curve.kappa = m_kappa;
    curve.radiusM = m_radiusM;
    curve.response = m_response;
    curve.tEqC = line->intercept;
    curve.tEqErrC = line->interceptErr;
    curve.amplitude = line->slope;
    curve.rmsC = line->rms;
    curve.records = static_cast<int>(t.size());
    return curve;
}

} // namespace quorvane::analysis
