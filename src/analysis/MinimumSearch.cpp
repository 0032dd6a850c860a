#include "analysis/MinimumSearch.h"

#include <cmath>
#include <limits>
#include <utility>

namespace quorvane::analysis {

Minimum MinimumSearch::brent(const Function& f, double low, double high, double tolerance) {
    // Brent (1973), localmin: golden sections, with parabolic steps where they can be trusted.
    constexpr double kGolden = 0.3819660112501051;
    constexpr int kMaxSteps = 100;
    double a = low;
    double b = high;
    double x = a + kGolden * (b - a);
    double w = x;
    double v = x;
    double fx = f(x);
    double fw = fx;
    double fv = fx;
    double d = 0.0;
    double e = 0.0;
    for (int step = 0; step < kMaxSteps; ++step) {
        const double middle = (a + b) / 2.0;
        const double tol1 = tolerance / 2.0 + 1e-12 * std::abs(x);
        const double tol2 = 2.0 * tol1;
        if (std::abs(x - middle) <= tol2 - (b - a) / 2.0) {
            break;
        }
        bool golden = true;
        if (std::abs(e) > tol1) {
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) {
                p = -p;
            }
            q = std::abs(q);
            const double previous = e;
            e = d;
            if (std::abs(p) < std::abs(0.5 * q * previous) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) {
                    d = x < middle ? tol1 : -tol1;
                }
                golden = false;
            }
        }
        if (golden) {
            e = (x < middle ? b : a) - x;
            d = kGolden * e;
        }
        const double u = x + (std::abs(d) >= tol1 ? d : (d > 0.0 ? tol1 : -tol1));
        const double fu = f(u);
        if (fu <= fx) {
            (u < x ? b : a) = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, fx};
}

Minimum MinimumSearch::scanThenRefine(const Function& f, double low, double high, int points,
                                      bool logarithmic, double tolerance) {
    if (points < 2 || !(high > low)) {
        return {low, f(low)};
    }
    auto at = [&](int i) {
        const double share = static_cast<double>(i) / (points - 1);
        return logarithmic ? low * std::pow(high / low, share) : low + share * (high - low);
    };
    int best = 0;
    double bestValue = std::numeric_limits<double>::infinity();
    for (int i = 0; i < points; ++i) {
        const double value = f(at(i));
        if (value < bestValue) {
            bestValue = value;
            best = i;
        }
    }
    const double from = at(best > 0 ? best - 1 : 0);
    const double to = at(best + 1 < points ? best + 1 : points - 1);
    const Minimum refined = brent(f, from, to, tolerance);
    if (refined.value <= bestValue) {
        return refined;
    }
    return {at(best), bestValue};
}

} // namespace quorvane::analysis
