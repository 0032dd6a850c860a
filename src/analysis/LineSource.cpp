#include "analysis/LineSource.h"

#include <cmath>
#include <numbers>

namespace quorvane::analysis {

double LineSource::e1(double x) {
    return -std::expint(-x);
}

double LineSource::diffusivity(double k) {
    return k / (5.79 - 3.67 * k + 1.016 * k * k) * 1e-6;
}

double LineSource::e1After(double kappa, double dtS) const {
    return e1(m_radius * m_radius / (4.0 * kappa * dtS));
}

double LineSource::heatingRise(double k, double dtS) const {
    return m_q / (4.0 * std::numbers::pi * k) * e1After(diffusivity(k), dtS);
}

} // namespace quorvane::analysis
