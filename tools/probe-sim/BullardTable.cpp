#include "BullardTable.h"

#include <cmath>

namespace quorvane::probesim {

namespace {

// Cubic Hermite interpolation on a unit step: values at 0 and 1, slopes per step.
double hermite(double y0, double d0, double y1, double d1, double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * d0 + (-2 * t3 + 3 * t2) * y1 +
           (t3 - t2) * d1;
}

} // namespace

BullardTable::BullardTable(double alpha) : m_quadrature(alpha), m_lowestZ(std::log(kLowestTau)) {
    const int steps = int(std::ceil((std::log(kHighestTau) - m_lowestZ) * kStepsPerUnit));
    m_points.reserve(std::size_t(steps) + 1);
    for (int n = 0; n <= steps; ++n) {
        const double tau = std::exp(m_lowestZ + double(n) / kStepsPerUnit);
        const auto v = m_quadrature.values(tau);
        // d/d ln τ = τ d/dτ, and dH/dτ = 2αF.
        m_points.push_back({v.f, tau * v.rate, v.heating, tau * 2.0 * alpha * v.f});
    }
}

bool BullardTable::locate(double tau, std::size_t& index, double& fraction) const {
    if (!(tau >= kLowestTau)) {
        return false;
    }
    const double position = (std::log(tau) - m_lowestZ) * kStepsPerUnit;
    const double whole = std::floor(position);
    if (whole + 1.0 >= double(m_points.size())) {
        return false;
    }
    index = std::size_t(whole);
    fraction = position - whole;
    return true;
}

double BullardTable::f(double tau) const {
    std::size_t n = 0;
    double t = 0.0;
    if (!locate(tau, n, t)) {
        return m_quadrature.f(tau);
    }
    const double step = 1.0 / kStepsPerUnit;
    const Point& a = m_points[n];
    const Point& b = m_points[n + 1];
    return hermite(a.f, a.fSlope * step, b.f, b.fSlope * step, t);
}

double BullardTable::heating(double tau) const {
    std::size_t n = 0;
    double t = 0.0;
    if (!locate(tau, n, t)) {
        return m_quadrature.heating(tau);
    }
    const double step = 1.0 / kStepsPerUnit;
    const Point& a = m_points[n];
    const Point& b = m_points[n + 1];
    return hermite(a.heating, a.heatingSlope * step, b.heating, b.heatingSlope * step, t);
}

} // namespace quorvane::probesim
