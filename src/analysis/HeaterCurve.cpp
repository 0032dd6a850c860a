#include "analysis/HeaterCurve.h"

#include "analysis/LineSource.h"

#include <numbers>

namespace quorvane::analysis {

double HeaterCurve::unitHeating(double kappaM2PerS, double sinceS) const {
    if (!(sinceS > 0.0)) {
        return 0.0;
    }
    const double tau = kappaM2PerS * sinceS / (radiusM * radiusM);
    if (response) {
        return response->heating(tau);
    }
    const double x = 1.0 / (4.0 * tau);
    // Far out E1 is below anything a record can show (and std::expint would underflow).
    return x > 700.0 ? 0.0 : LineSource::e1(x);
}

double HeaterCurve::riseFor(double k, double kappaM2PerS, double shift, double timeS) const {
    double h = unitHeating(kappaM2PerS, timeS - onS - shift);
    if (offS) {
        h -= unitHeating(kappaM2PerS, timeS - *offS - shift);
    }
    return qWPerM / (4.0 * std::numbers::pi * k) * h;
}

} // namespace quorvane::analysis
