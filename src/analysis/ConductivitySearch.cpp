#include "analysis/ConductivitySearch.h"

#include "analysis/LineSource.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace quorvane::analysis {

namespace {

constexpr int kGridPoints = 49;          // 0.1 to 10 W/(m K), about 10 % apart
constexpr std::size_t kScanSamples = 48; // the scans look at this many records at most
constexpr int kShiftPoints = 9;
constexpr int kMaxSteps = 40;
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

// Solves the small symmetric system a·x = b (n ≤ 3) by Gaussian elimination.
bool solve(std::array<std::array<double, 3>, 3> a, std::array<double, 3> b, int n,
           std::array<double, 3>& x) {
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int r = c + 1; r < n; ++r) {
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) {
                pivot = r;
            }
        }
        if (!(std::abs(a[pivot][c]) > 0.0)) {
            return false;
        }
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (int r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int j = c; j < n; ++j) {
                a[r][j] -= f * a[c][j];
            }
            b[r] -= f * b[c];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = b[r];
        for (int j = r + 1; j < n; ++j) {
            s -= a[r][j] * x[j];
        }
        x[r] = s / a[r][r];
    }
    return true;
}

struct Refined {
    double k = 1.0;
    double shift = 0.0;
    double constant = 0.0;
    double ss = 0.0;
    double lnKVariance = std::numeric_limits<double>::quiet_NaN();
};

// Levenberg-Marquardt in p = (ln k, s, C); C only with a free constant.
Refined refine(const Problem& p, double k0, double shift0, double constant0) {
    const int n = p.freeConstant ? 3 : 2;
    const std::size_t m = p.t.size();
    std::array<double, 3> params{std::log(k0), shift0, constant0};
    auto residuals = [&](const std::array<double, 3>& q, std::vector<double>& r) {
        const double k = std::exp(q[0]);
        const double kappa = LineSource::diffusivity(k);
        double ss = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            r[i] = p.y[i] - p.model.riseFor(k, kappa, q[1], p.t[i]) - (n == 3 ? q[2] : 0.0);
            ss += r[i] * r[i];
        }
        return std::isfinite(ss) ? ss : std::numeric_limits<double>::infinity();
    };
    auto clampParams = [&](std::array<double, 3>& q) {
        q[0] = std::clamp(q[0], std::log(kSearchLowestK), std::log(kSearchHighestK));
        q[1] = std::clamp(q[1], -p.largestShift, p.largestShift);
    };
    std::vector<double> r(m);
    std::vector<double> trial(m);
    std::vector<std::array<double, 3>> jacobian(m);
    double ss = residuals(params, r);
    double lambda = 1e-3;
    std::array<std::array<double, 3>, 3> jtj{};
    for (int step = 0; step < kMaxSteps; ++step) {
        // Forward differences for ln k and s; the constant's column is -1.
        const double hk = 1e-5;
        const double hs = 1e-4 * std::max(1.0, p.largestShift);
        for (int c = 0; c < 2; ++c) {
            std::array<double, 3> q = params;
            const double h = c == 0 ? hk : hs;
            q[static_cast<std::size_t>(c)] += h;
            residuals(q, trial);
            for (std::size_t i = 0; i < m; ++i) {
                jacobian[i][static_cast<std::size_t>(c)] = (trial[i] - r[i]) / h;
            }
        }
        for (std::size_t i = 0; i < m; ++i) {
            jacobian[i][2] = -1.0;
        }
        std::array<double, 3> jtr{};
        jtj = {};
        for (std::size_t i = 0; i < m; ++i) {
            for (int a = 0; a < n; ++a) {
                jtr[static_cast<std::size_t>(a)] -= jacobian[i][static_cast<std::size_t>(a)] * r[i];
                for (int b = 0; b < n; ++b) {
                    jtj[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] +=
                        jacobian[i][static_cast<std::size_t>(a)] *
                        jacobian[i][static_cast<std::size_t>(b)];
                }
            }
        }
        bool improved = false;
        while (lambda < 1e12) {
            auto damped = jtj;
            for (int a = 0; a < n; ++a) {
                damped[static_cast<std::size_t>(a)][static_cast<std::size_t>(a)] *= 1.0 + lambda;
            }
            std::array<double, 3> delta{};
            if (!solve(damped, jtr, n, delta)) {
                lambda *= 10.0;
                continue;
            }
            // A shift at its bound that the step would push past stays there: the step is
            // taken in the other parameters alone (a projected step would stall).
            const bool atLow = params[1] <= -p.largestShift && delta[1] < 0.0;
            const bool atHigh = params[1] >= p.largestShift && delta[1] > 0.0;
            if (atLow || atHigh) {
                auto fixed = damped;
                auto rhs = jtr;
                for (int a = 0; a < n; ++a) {
                    fixed[1][static_cast<std::size_t>(a)] = 0.0;
                    fixed[static_cast<std::size_t>(a)][1] = 0.0;
                }
                fixed[1][1] = 1.0;
                rhs[1] = 0.0;
                if (!solve(fixed, rhs, n, delta)) {
                    lambda *= 10.0;
                    continue;
                }
            }
            std::array<double, 3> q = params;
            for (int a = 0; a < n; ++a) {
                q[static_cast<std::size_t>(a)] += delta[static_cast<std::size_t>(a)];
            }
            clampParams(q);
            const double trialSs = residuals(q, trial);
            if (trialSs < ss) {
                const double gain = ss - trialSs;
                params = q;
                r.swap(trial);
                const bool small = gain <= 1e-10 * ss + 1e-18;
                ss = trialSs;
                lambda = std::max(lambda / 10.0, 1e-9);
                improved = !small;
                break;
            }
            lambda *= 10.0;
        }
        if (!improved) {
            break;
        }
    }
    Refined out;
    out.k = std::exp(params[0]);
    out.shift = params[1];
    out.constant = n == 3 ? params[2] : 0.0;
    out.ss = ss;
    // The covariance of ln k: σ²·(JᵀJ)⁻¹, first diagonal element.
    if (m > static_cast<std::size_t>(n)) {
        std::array<double, 3> e{1.0, 0.0, 0.0};
        std::array<double, 3> column{};
        if (solve(jtj, e, n, column)) {
            const double sigma2 = ss / static_cast<double>(m - static_cast<std::size_t>(n));
            out.lnKVariance = sigma2 * column[0];
        }
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
