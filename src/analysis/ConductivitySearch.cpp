#include "analysis/ConductivitySearch.h"

#include "analysis/LevenbergMarquardt.h"
#include "analysis/LineSource.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorvane::analysis {

namespace {

constexpr int kGridPoints = 49;          // 0.1 to 10 W/(m K), about 10 % apart
constexpr std::size_t kScanSamples = 48; // the scans look at this many records at most
constexpr int kShiftPoints = 9;
// The refinement ends within these bounds; beyond them the data say no more.
constexpr double kSearchLowestK = 0.05;
constexpr double kSearchHighestK = 20.0;

struct Problem {
    const HeaterCurve& model;
    const std::vector<double>& t;
    const std::vector<double>& y;
    bool freeConstant;
    double largestShift;
};

// The model without its constant, and the constant that fits best for it.
double sumOfSquares(const Problem& p, const std::vector<std::size_t>& use, double k, double shift,
                    double* constantOut = nullptr) {
    const double kappa = LineSource::diffusivity(k);
    double constant = 0.0;
    if (p.freeConstant) {
        double sum = 0.0;
        for (std::size_t i : use) {
            sum += p.y[i] - p.model.riseFor(k, kappa, shift, p.t[i]);
        }
        constant = sum / static_cast<double>(use.size());
    }
    double ss = 0.0;
    for (std::size_t i : use) {
        const double r = p.y[i] - p.model.riseFor(k, kappa, shift, p.t[i]) - constant;
        ss += r * r;
    }
    if (constantOut) {
        *constantOut = constant;
    }
    return std::isfinite(ss) ? ss : std::numeric_limits<double>::infinity();
}

struct Refined {
    double k = 1.0;
    double shift = 0.0;
    double constant = 0.0;
    double ss = 0.0;
    double lnKVariance = std::numeric_limits<double>::quiet_NaN();
};

// Levenberg-Marquardt in p = (ln k, s[, C]).
Refined refine(const Problem& p, double k0, double shift0, double constant0) {
    const bool constant = p.freeConstant;
    const std::size_t m = p.t.size();
    // For the cylinder, ln(t − t_switch − s) stays while the shift stays: only ln κ moves
    // when k does.
    const auto* response = p.model.response.get();
    const double lnA2 = std::log(p.model.radiusM * p.model.radiusM);
    std::vector<double> lnOn(m);
    std::vector<double> lnOff(m);
    double lnFor = std::numeric_limits<double>::quiet_NaN();
    auto unit = [&](double lnScale, double lnSince) {
        return std::isfinite(lnSince) ? response->heatingAtLn(lnScale + lnSince) : 0.0;
    };
    auto residuals = [&](const std::vector<double>& q, std::vector<double>& r) {
        const double k = std::exp(q[0]);
        const double kappa = LineSource::diffusivity(k);
        const double c = constant ? q[2] : 0.0;
        double ss = 0.0;
        if (response) {
            if (!(lnFor == q[1])) {
                auto ln = [](double since) {
                    return since > 0.0 ? std::log(since) : -std::numeric_limits<double>::infinity();
                };
                for (std::size_t i = 0; i < m; ++i) {
                    lnOn[i] = ln(p.t[i] - p.model.onS - q[1]);
                    lnOff[i] = p.model.offS ? ln(p.t[i] - *p.model.offS - q[1])
                                            : -std::numeric_limits<double>::infinity();
                }
                lnFor = q[1];
            }
            const double lnScale = std::log(kappa) - lnA2;
            const double size = p.model.qWPerM / (4.0 * std::numbers::pi * k);
            for (std::size_t i = 0; i < m; ++i) {
                r[i] = p.y[i] - size * (unit(lnScale, lnOn[i]) - unit(lnScale, lnOff[i])) - c;
                ss += r[i] * r[i];
            }
        } else {
            for (std::size_t i = 0; i < m; ++i) {
                r[i] = p.y[i] - p.model.riseFor(k, kappa, q[1], p.t[i]) - c;
                ss += r[i] * r[i];
            }
        }
        return std::isfinite(ss) ? ss : std::numeric_limits<double>::infinity();
    };
    std::vector<LevenbergMarquardt::Parameter> params{
        {std::log(k0), std::log(kSearchLowestK), std::log(kSearchHighestK), 1e-5, 1e-6},
        {shift0, -p.largestShift, p.largestShift, 1e-4 * std::max(1.0, p.largestShift), 1e-4}};
    if (constant) {
        params.push_back({constant0, -1e6, 1e6, 1e-6, 1e-7});
    }
    const auto result = LevenbergMarquardt::minimise(residuals, m, params);
    Refined out;
    out.k = std::exp(result.p[0]);
    out.shift = result.p[1];
    out.constant = constant ? result.p[2] : 0.0;
    out.ss = result.sumOfSquares;
    if (!result.covariance.empty()) {
        out.lnKVariance = result.covariance[0][0];
    }
    return out;
}

} // namespace

FitOutcome<ConductivityEstimate> ConductivitySearch::fit(const Samples& rise, const Setup& setup) {
    using Outcome = FitOutcome<ConductivityEstimate>;
    std::vector<double> t;
    std::vector<double> y;
    for (std::size_t i = 0; i < rise.size(); ++i) {
        if (rise.timeS[i] > setup.model.onS && std::isfinite(rise.value[i])) {
            t.push_back(rise.timeS[i]);
            y.push_back(rise.value[i]);
        }
    }
    if (t.size() < 3) {
        return Outcome::failed(QStringLiteral("fewer than 3 records in the window"));
    }
    if (!(setup.model.qWPerM > 0.0) || !(setup.model.radiusM > 0.0)) {
        return Outcome::failed(QStringLiteral("no heater power"));
    }
    const Problem problem{setup.model, t, y, setup.freeConstant,
                          std::max(setup.largestShiftS, 0.0)};

    // The scans on a thinned set of records, spread over the window.
    std::vector<std::size_t> few;
    const std::size_t stride =
        std::max<std::size_t>(1, (t.size() + kScanSamples - 1) / kScanSamples);
    for (std::size_t i = 0; i < t.size(); i += stride) {
        few.push_back(i);
    }
    double bestK = 1.0;
    double bestShift = 0.0;
    if (setup.start) {
        bestK = std::clamp(setup.start->first, kSearchLowestK, kSearchHighestK);
        bestShift = std::clamp(setup.start->second, -problem.largestShift, problem.largestShift);
    } else {
        double bestSs = std::numeric_limits<double>::infinity();
        for (int i = 0; i < kGridPoints; ++i) {
            const double k =
                kLowestK * std::pow(kHighestK / kLowestK, double(i) / (kGridPoints - 1));
            const double ss = sumOfSquares(problem, few, k, 0.0);
            if (ss < bestSs) {
                bestSs = ss;
                bestK = k;
            }
        }
        if (problem.largestShift > 0.0) {
            for (int i = 0; i < kShiftPoints; ++i) {
                const double s = -problem.largestShift +
                                 2.0 * problem.largestShift * double(i) / (kShiftPoints - 1);
                const double ss = sumOfSquares(problem, few, bestK, s);
                if (ss < bestSs) {
                    bestSs = ss;
                    bestShift = s;
                }
            }
        }
    }
    std::vector<std::size_t> all(t.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    double constant = 0.0;
    sumOfSquares(problem, all, bestK, bestShift, &constant);
    const Refined best = refine(problem, bestK, bestShift, constant);
    if (!std::isfinite(best.ss)) {
        return Outcome::failed(QStringLiteral("fit not possible"));
    }
    if (best.k >= kSearchHighestK * 0.999) {
        return Outcome::failed(QStringLiteral("no rise from the heater"));
    }

    ConductivityEstimate e;
    e.curve = setup.model;
    e.curve.kWPerMK = best.k;
    e.curve.kappa = LineSource::diffusivity(best.k);
    e.curve.shiftS = best.shift;
    e.curve.constantK = best.constant;
    e.kWPerMK = best.k;
    e.kErrWPerMK = std::isfinite(best.lnKVariance) && best.lnKVariance >= 0.0
                       ? best.k * std::sqrt(best.lnKVariance)
                       : 0.0;
    e.kappaM2PerS = e.curve.kappa;
    e.shiftS = best.shift;
    e.constantK = best.constant;
    e.rmsC = std::sqrt(best.ss / static_cast<double>(t.size()));
    e.records = static_cast<int>(t.size());
    for (double ti : t) {
        e.riseK = std::max(e.riseK, std::abs(e.curve.rise(ti) - e.constantK));
    }
    return e;
}

} // namespace quorvane::analysis
