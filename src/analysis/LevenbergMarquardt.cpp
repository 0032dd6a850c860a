#include "analysis/LevenbergMarquardt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::analysis {

bool LevenbergMarquardt::solve(std::vector<std::vector<double>> a, std::vector<double> b,
                               std::vector<double>& x) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r) {
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) {
                pivot = r;
            }
        }
        if (!(std::abs(a[pivot][c]) > 0.0)) {
            return false;
        }
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t j = c; j < n; ++j) {
                a[r][j] -= f * a[c][j];
            }
            b[r] -= f * b[c];
        }
    }
    x.assign(n, 0.0);
    for (std::size_t r = n; r-- > 0;) {
        double s = b[r];
        for (std::size_t j = r + 1; j < n; ++j) {
            s -= a[r][j] * x[j];
        }
        x[r] = s / a[r][r];
    }
    return std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
}

std::vector<std::vector<double>>
LevenbergMarquardt::covariance(const std::vector<std::vector<double>>& columns,
                               double sumOfSquares) {
    const std::size_t n = columns.size();
    const std::size_t m = n > 0 ? columns[0].size() : 0;
    if (m <= n) {
        return {};
    }
    std::vector<std::vector<double>> jtj(n, std::vector<double>(n, 0.0));
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a; b < n; ++b) {
            double s = 0.0;
            for (std::size_t i = 0; i < m; ++i) {
                s += columns[a][i] * columns[b][i];
            }
            jtj[a][b] = jtj[b][a] = s;
        }
    }
    const double sigma2 = sumOfSquares / static_cast<double>(m - n);
    std::vector<std::vector<double>> out(n, std::vector<double>(n, 0.0));
    for (std::size_t c = 0; c < n; ++c) {
        std::vector<double> e(n, 0.0);
        e[c] = 1.0;
        std::vector<double> x;
        if (!solve(jtj, e, x)) {
            return {};
        }
        for (std::size_t r = 0; r < n; ++r) {
            out[r][c] = sigma2 * x[r];
        }
    }
    return out;
}

LevenbergMarquardt::Result LevenbergMarquardt::minimise(const Residuals& residuals, std::size_t m,
                                                        const std::vector<Parameter>& params) {
    const std::size_t n = params.size();
    Result out;
    out.p.resize(n);
    for (std::size_t a = 0; a < n; ++a) {
        out.p[a] = std::clamp(params[a].start, params[a].low, params[a].high);
    }
    std::vector<double> r(m);
    std::vector<double> trial(m);
    std::vector<std::vector<double>> columns(n, std::vector<double>(m));
    double ss = residuals(out.p, r);
    double lambda = 1e-3;
    auto jacobian = [&](const std::vector<double>& p) {
        for (std::size_t c = 0; c < n; ++c) {
            std::vector<double> q = p;
            // Step away from a bound, never across it.
            const double h =
                q[c] + params[c].step > params[c].high ? -params[c].step : params[c].step;
            q[c] += h;
            residuals(q, trial);
            for (std::size_t i = 0; i < m; ++i) {
                columns[c][i] = (trial[i] - r[i]) / h;
            }
        }
    };
    for (int step = 0; step < kMaxSteps && std::isfinite(ss); ++step) {
        jacobian(out.p);
        std::vector<std::vector<double>> jtj(n, std::vector<double>(n, 0.0));
        std::vector<double> jtr(n, 0.0);
        for (std::size_t a = 0; a < n; ++a) {
            for (std::size_t i = 0; i < m; ++i) {
                jtr[a] -= columns[a][i] * r[i];
            }
            for (std::size_t b = a; b < n; ++b) {
                double s = 0.0;
                for (std::size_t i = 0; i < m; ++i) {
                    s += columns[a][i] * columns[b][i];
                }
                jtj[a][b] = jtj[b][a] = s;
            }
        }
        bool improved = false;
        while (lambda < 1e12) {
            auto damped = jtj;
            for (std::size_t a = 0; a < n; ++a) {
                damped[a][a] *= 1.0 + lambda;
                if (!(damped[a][a] > 0.0)) {
                    damped[a][a] = 1e-30;
                }
            }
            std::vector<double> delta;
            if (!solve(damped, jtr, delta)) {
                lambda *= 10.0;
                continue;
            }
            // Parameters at a bound that the step would push past stay where they are.
            bool fixedAny = false;
            for (std::size_t a = 0; a < n; ++a) {
                const bool pushesOut = (out.p[a] <= params[a].low && delta[a] < 0.0) ||
                                       (out.p[a] >= params[a].high && delta[a] > 0.0);
                if (pushesOut) {
                    for (std::size_t b = 0; b < n; ++b) {
                        damped[a][b] = damped[b][a] = 0.0;
                    }
                    damped[a][a] = 1.0;
                    jtr[a] = 0.0;
                    fixedAny = true;
                }
            }
            if (fixedAny && !solve(damped, jtr, delta)) {
                lambda *= 10.0;
                continue;
            }
            std::vector<double> q = out.p;
            for (std::size_t a = 0; a < n; ++a) {
                q[a] = std::clamp(q[a] + delta[a], params[a].low, params[a].high);
            }
            const double trialSs = residuals(q, trial);
            if (trialSs < ss) {
                bool small = ss - trialSs <= 1e-10 * ss + 1e-20;
                bool still = true;
                for (std::size_t a = 0; a < n; ++a) {
                    still = still && std::abs(q[a] - out.p[a]) < params[a].tolerance;
                }
                small = small || still;
                out.p = q;
                r.swap(trial);
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
    out.sumOfSquares = ss;
    if (std::isfinite(ss)) {
        // The last Jacobian was taken at most a step below the tolerances away: good enough
        // for the errors, and a live update saves a whole evaluation.
        out.covariance = covariance(columns, ss);
    }
    return out;
}

} // namespace quorvane::analysis
