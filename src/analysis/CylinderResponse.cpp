#include "analysis/CylinderResponse.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane::analysis {

namespace {

// The integrals are taken over s = ln u with the trapezoid rule, which converges fast for an
// integrand that is smooth and dies away at both ends: below u = 1e-7 the integrand goes as u²
// (its share at τ = 1e6 is under 1e-8), above u = 1e4 as exp(-τu²) or 1/u².
constexpr double kLowestLnU = -16.2; // ln 1e-7
constexpr double kHighestLnU = 9.22; // ln 1e4
constexpr double kLnUStep = 0.04;
// The table: about 20 values per unit of ln τ; cubic interpolation is then good to about 1e-7.
constexpr double kLnTauStep = 0.05;

struct Node {
    double uSquared = 0.0;
    double weight = 0.0;   // trapezoid weight over ln u
    double inverseD = 0.0; // 1 / [(u J0 - α J1)² + (u Y0 - α Y1)²]
};

std::vector<Node> nodes(double alpha) {
    const int n = static_cast<int>(std::ceil((kHighestLnU - kLowestLnU) / kLnUStep)) + 1;
    std::vector<Node> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double u = std::exp(kLowestLnU + i * kLnUStep);
        const double j = u * std::cyl_bessel_j(0.0, u) - alpha * std::cyl_bessel_j(1.0, u);
        const double y = u * std::cyl_neumann(0.0, u) - alpha * std::cyl_neumann(1.0, u);
        Node& node = out[static_cast<std::size_t>(i)];
        node.uSquared = u * u;
        node.weight = (i == 0 || i == n - 1) ? kLnUStep / 2.0 : kLnUStep;
        node.inverseD = 1.0 / (j * j + y * y);
    }
    return out;
}

// F = (4α/π²) ∫ exp(-τu²) / (u D) du = (4α/π²) ∫ exp(-τu²) / D ds.
double pulseSum(const std::vector<Node>& nodes, double alpha, double tau) {
    double sum = 0.0;
    for (const Node& n : nodes) {
        sum += n.weight * std::exp(-tau * n.uSquared) * n.inverseD;
    }
    return 4.0 * alpha / (std::numbers::pi * std::numbers::pi) * sum;
}

// H = 2α ∫₀^τ F = (8α²/π²) ∫ (1 - exp(-τu²)) / (u³ D) du, the order of the integrals swapped.
double heatingSum(const std::vector<Node>& nodes, double alpha, double tau) {
    double sum = 0.0;
    for (const Node& n : nodes) {
        sum += n.weight * -std::expm1(-tau * n.uSquared) / n.uSquared * n.inverseD;
    }
    return 8.0 * alpha * alpha / (std::numbers::pi * std::numbers::pi) * sum;
}

const double kLowestLnTau = std::log(CylinderResponse::kLowestTau);
const double kHighestLnTau = std::log(CylinderResponse::kHighestTau);
// The table's points, its ends on kLowestTau and kHighestTau.
const int kTablePoints =
    static_cast<int>(std::ceil((kHighestLnTau - kLowestLnTau) / kLnTauStep)) + 1;
const double kTableStep = (kHighestLnTau - kLowestLnTau) / (kTablePoints - 1);

} // namespace

CylinderResponse::CylinderResponse(double alpha) : m_alpha(alpha) {
    const auto grid = nodes(alpha);
    std::vector<double> pulse(static_cast<std::size_t>(kTablePoints));
    std::vector<double> heating(static_cast<std::size_t>(kTablePoints));
    for (int i = 0; i < kTablePoints; ++i) {
        const double tau = std::exp(kLowestLnTau + i * kTableStep);
        pulse[static_cast<std::size_t>(i)] = pulseSum(grid, alpha, tau);
        heating[static_cast<std::size_t>(i)] = heatingSum(grid, alpha, tau);
    }
    m_pulseStart = pulse.front();
    m_pulseEnd = pulse.back();
    m_heatingStart = heating.front();
    m_heatingEnd = heating.back();
    m_pulse = cells(pulse);
    m_heating = cells(heating);
}

std::vector<CylinderResponse::Cell> CylinderResponse::cells(const std::vector<double>& v) {
    // Four-point Lagrange interpolation on the even grid, written out as a cubic in the
    // cell's own t from 0 to 1; the first and last cells take the nearest four points.
    const std::size_t n = v.size();
    std::vector<Cell> out(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const std::size_t first = std::clamp<std::size_t>(i, 1, n - 3) - 1;
        const double shift = static_cast<double>(i) - static_cast<double>(first) - 1.0;
        const double p0 = v[first];
        const double p1 = v[first + 1];
        const double p2 = v[first + 2];
        const double p3 = v[first + 3];
        // The cubic in u (u = 0 at p1), then moved to t = u - shift.
        const double a0 = p1;
        const double a1 = -p0 / 3.0 - p1 / 2.0 + p2 - p3 / 6.0;
        const double a2 = p0 / 2.0 - p1 + p2 / 2.0;
        const double a3 = -p0 / 6.0 + p1 / 2.0 - p2 / 2.0 + p3 / 6.0;
        const double d = shift;
        Cell c;
        c.c0 = a0 + d * (a1 + d * (a2 + d * a3));
        c.c1 = a1 + d * (2.0 * a2 + 3.0 * d * a3);
        c.c2 = a2 + 3.0 * d * a3;
        c.c3 = a3;
        out[i] = c;
    }
    return out;
}

double CylinderResponse::pulseByQuadrature(double alpha, double tau) {
    if (!(tau > 0.0)) {
        return 1.0;
    }
    return pulseSum(nodes(alpha), alpha, tau);
}

double CylinderResponse::heatingByQuadrature(double alpha, double tau) {
    if (!(tau > 0.0)) {
        return 0.0;
    }
    return heatingSum(nodes(alpha), alpha, tau);
}

double CylinderResponse::fromTable(const std::vector<Cell>& table, double x) const {
    const double position = (x - kLowestLnTau) * (1.0 / kTableStep);
    const auto last = static_cast<std::ptrdiff_t>(table.size()) - 1;
    auto i = static_cast<std::ptrdiff_t>(position);
    i = std::clamp<std::ptrdiff_t>(i, 0, last);
    const double t = position - static_cast<double>(i);
    const Cell& c = table[static_cast<std::size_t>(i)];
    return c.c0 + t * (c.c1 + t * (c.c2 + t * c.c3));
}

double CylinderResponse::pulse(double tau) const {
    if (!(tau > 0.0)) {
        return 1.0;
    }
    if (tau >= kHighestTau) {
        // F = (1 + ε/τ) / (2ατ), ε from the table's end.
        const double excess = m_pulseEnd * 2.0 * m_alpha * kHighestTau - 1.0;
        return (1.0 + excess * kHighestTau / tau) / (2.0 * m_alpha * tau);
    }
    if (tau <= kLowestTau) {
        // Early on F falls from 1 as √τ.
        return 1.0 - (1.0 - m_pulseStart) * std::sqrt(tau / kLowestTau);
    }
    return fromTable(m_pulse, std::log(tau));
}

double CylinderResponse::heating(double tau) const {
    if (!(tau > 0.0)) {
        return 0.0;
    }
    if (tau >= kHighestTau) {
        // H = ln τ + ln 4 − γ + ε/τ, ε from the table's end.
        const double limit = std::log(4.0) - std::numbers::egamma;
        const double excess = m_heatingEnd - std::log(kHighestTau) - limit;
        return std::log(tau) + limit + excess * kHighestTau / tau;
    }
    if (tau <= kLowestTau) {
        // Early on the tube takes all the heat: H = 2ατ.
        return m_heatingStart * tau / kLowestTau;
    }
    return fromTable(m_heating, std::log(tau));
}

double CylinderResponse::pulseAtLn(double lnTau) const {
    if (lnTau > kLowestLnTau && lnTau < kHighestLnTau) {
        return fromTable(m_pulse, lnTau);
    }
    return pulse(std::exp(lnTau));
}

double CylinderResponse::heatingAtLn(double lnTau) const {
    if (lnTau > kLowestLnTau && lnTau < kHighestLnTau) {
        return fromTable(m_heating, lnTau);
    }
    return heating(std::exp(lnTau));
}

} // namespace quorvane::analysis
