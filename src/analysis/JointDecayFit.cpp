#include "analysis/JointDecayFit.h"

#include "analysis/LevenbergMarquardt.h"
#include "analysis/LineSource.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorvane::analysis {

FitOutcome<JointDecayFit::Joint> JointDecayFit::fit(const StationPlan& plan, const Samples& decay,
                                                    const Samples& fall, double lowestDelayS,
                                                    double highestDelayS, const Joint& start) {
    using Outcome = FitOutcome<Joint>;
    const std::size_t nd = decay.size();
    const std::size_t m = nd + fall.size();
    if (nd < 3 || fall.size() < 3 || !plan.response) {
        return Outcome::failed(QStringLiteral("joint fit: too few records"));
    }
    std::vector<double> t(m);
    std::vector<double> y(m);
    for (std::size_t i = 0; i < m; ++i) {
        t[i] = i < nd ? decay.timeS[i] : fall.timeS[i - nd];
        y[i] = i < nd ? decay.value[i] : fall.value[i - nd];
    }
    HeaterCurve heater = start.fall.curve;
    const double lnA2 = std::log(plan.radiusM * plan.radiusM);
    const double tp = start.decay.penetrationS;
    if (!heater.offS) {
        return Outcome::failed(QStringLiteral("joint fit: the heater is still on"));
    }
    const double on = heater.onS;
    const double off = *heater.offS;
    std::vector<double> x(m);
    std::vector<double> z(m);
    // ln(t − t₀) stays while the delay or the shift stays, and the decay's x and the heater's
    // fall stay while what they hang on stays: the Jacobian's columns change one at a time.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> lnDecay(m);
    std::vector<double> lnOn(m - nd);
    std::vector<double> lnOff(m - nd);
    double lnDecayFor = nan;
    double lnFallFor = nan;
    double xFor[2] = {nan, nan};
    double zFor[2] = {nan, nan};
    auto lnSince = [](double since) {
        return since > 0.0 ? std::log(since) : -std::numeric_limits<double>::infinity();
    };
    auto shapes = [&](const std::vector<double>& p) {
        const double k = std::exp(p[0]);
        const double lnScale = std::log(LineSource::diffusivity(k)) - lnA2;
        if (!(xFor[0] == p[0] && xFor[1] == p[2])) {
            if (!(lnDecayFor == p[2])) {
                for (std::size_t i = 0; i < m; ++i) {
                    lnDecay[i] = lnSince(t[i] - tp - p[2]);
                }
                lnDecayFor = p[2];
            }
            for (std::size_t i = 0; i < m; ++i) {
                x[i] = plan.response->pulseAtLn(lnScale + lnDecay[i]);
            }
            xFor[0] = p[0];
            xFor[1] = p[2];
        }
        if (!(zFor[0] == p[0] && zFor[1] == p[1])) {
            if (!(lnFallFor == p[1])) {
                for (std::size_t i = nd; i < m; ++i) {
                    lnOn[i - nd] = lnSince(t[i] - on - p[1]);
                    lnOff[i - nd] = lnSince(t[i] - off - p[1]);
                }
                lnFallFor = p[1];
            }
            const double size = heater.qWPerM / (4.0 * std::numbers::pi * k);
            for (std::size_t i = 0; i < nd; ++i) {
                z[i] = y[i];
            }
            for (std::size_t i = nd; i < m; ++i) {
                const double hOn = std::isfinite(lnOn[i - nd])
                                       ? plan.response->heatingAtLn(lnScale + lnOn[i - nd])
                                       : 0.0;
                const double hOff = std::isfinite(lnOff[i - nd])
                                        ? plan.response->heatingAtLn(lnScale + lnOff[i - nd])
                                        : 0.0;
                z[i] = y[i] - size * (hOn - hOff);
            }
            zFor[0] = p[0];
            zFor[1] = p[1];
        }
    };
    // T_eq and B for the curves, by least squares; the sum of squares left.
    auto linear = [&](double& tEq, double& b) {
        double mx = 0.0;
        double mz = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            mx += x[i];
            mz += z[i];
        }
        mx /= static_cast<double>(m);
        mz /= static_cast<double>(m);
        double sxx = 0.0;
        double sxz = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            sxx += (x[i] - mx) * (x[i] - mx);
            sxz += (x[i] - mx) * (z[i] - mz);
        }
        b = sxx > 0.0 ? sxz / sxx : 0.0;
        tEq = mz - b * mx;
    };
    auto residuals = [&](const std::vector<double>& p, std::vector<double>& r) {
        shapes(p);
        double tEq = 0.0;
        double b = 0.0;
        linear(tEq, b);
        double ss = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            r[i] = z[i] - tEq - b * x[i];
            ss += r[i] * r[i];
        }
        return std::isfinite(ss) ? ss : std::numeric_limits<double>::infinity();
    };
    const double largestShift = std::max(plan.intervalS, 1.0);
    const auto result = LevenbergMarquardt::minimise(
        residuals, m,
        {{std::log(start.fall.kWPerMK), std::log(0.05), std::log(20.0), 1e-5, 1e-6},
         {start.fall.shiftS, -largestShift, largestShift, 1e-4 * largestShift, 1e-4},
         {start.decay.delayS, lowestDelayS, highestDelayS, 1e-3, 1e-3}});
    if (!std::isfinite(result.sumOfSquares)) {
        return Outcome::failed(QStringLiteral("joint fit not possible"));
    }

    // The errors, from the Jacobian of all five with T_eq and B held.
    std::vector<double> p = result.p;
    shapes(p);
    double tEq = 0.0;
    double b = 0.0;
    linear(tEq, b);
    std::vector<double> base(m);
    for (std::size_t i = 0; i < m; ++i) {
        base[i] = z[i] - tEq - b * x[i];
    }
    const std::vector<double> bestX = x;
    std::vector<std::vector<double>> columns(5, std::vector<double>(m));
    const double steps[3] = {1e-5, 1e-4 * largestShift, 1e-3};
    for (std::size_t c = 0; c < 3; ++c) {
        std::vector<double> q = p;
        q[c] += steps[c];
        shapes(q);
        for (std::size_t i = 0; i < m; ++i) {
            columns[c][i] = (z[i] - tEq - b * x[i] - base[i]) / steps[c];
        }
    }
    for (std::size_t i = 0; i < m; ++i) {
        columns[3][i] = -1.0;
        columns[4][i] = -bestX[i];
    }
    const auto covariance = LevenbergMarquardt::covariance(columns, result.sumOfSquares);

    const double k = std::exp(p[0]);
    const double kappa = LineSource::diffusivity(k);
    Joint out;
    out.decay = start.decay;
    out.decay.kappa = kappa;
    out.decay.delayS = p[2];
    out.decay.tEqC = tEq;
    out.decay.amplitude = b;
    out.decay.tEqErrC = covariance.empty() ? 0.0 : std::sqrt(std::max(0.0, covariance[3][3]));
    double decaySs = 0.0;
    double fallSs = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        (i < nd ? decaySs : fallSs) += base[i] * base[i];
    }
    out.decay.rmsC = std::sqrt(decaySs / static_cast<double>(nd));
    out.decay.records = static_cast<int>(nd);
    out.fall = start.fall;
    out.fall.kWPerMK = k;
    out.fall.kErrWPerMK = covariance.empty() ? 0.0 : k * std::sqrt(std::max(0.0, covariance[0][0]));
    out.fall.kappaM2PerS = kappa;
    out.fall.shiftS = p[1];
    out.fall.rmsC = std::sqrt(fallSs / static_cast<double>(m - nd));
    out.fall.curve.kWPerMK = k;
    out.fall.curve.kappa = kappa;
    out.fall.curve.shiftS = p[1];
    out.fall.riseK = 0.0;
    for (std::size_t i = nd; i < m; ++i) {
        out.fall.riseK = std::max(out.fall.riseK, std::abs(out.fall.curve.rise(t[i])));
    }
    return out;
}

} // namespace quorvane::analysis
