#include "BullardQuadrature.h"

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quorvane::probesim {

namespace {

using std::numbers::pi;

// The rule covers u from 1e-9 (below it the integrand is u/α to 1e-17) to 2000 (above it the
// first two terms of D's expansion leave 1e-15 of F(α, 0) out), in panels of half a unit of
// ln u with 12 Gauss-Legendre points each: the rule agrees with one of twenty times the nodes
// to 1e-14 for α from 0.1 to 10 and every τ.
constexpr double kLowestU = 1e-9;
constexpr double kHighestU = 2000.0;
constexpr double kPanelWidth = 0.5;
constexpr int kPoints = 12;
// Where the Hankel functions' asymptotic series (24 terms) is as good as the Bessel functions.
constexpr double kAsymptoticFrom = 20.0;
constexpr int kAsymptoticTerms = 24;
// exp(−745) is the last double above zero.
constexpr double kUnderflow = 745.0;

// Nodes and weights of the n-point Gauss-Legendre rule on [−1, 1].
std::vector<std::pair<double, double>> gaussLegendre(int n) {
    std::vector<std::pair<double, double>> rule;
    for (int i = 0; i < n; ++i) {
        double x = std::cos(pi * (i + 0.75) / (n + 0.5));
        double derivative = 1.0;
        for (int iteration = 0; iteration < 100; ++iteration) {
            double p0 = 1.0;
            double p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1.0);
            const double step = p1 / derivative;
            x -= step;
            if (std::abs(step) < 1e-16) {
                break;
            }
        }
        rule.emplace_back(x, 2.0 / ((1.0 - x * x) * derivative * derivative));
    }
    return rule;
}

// Ein(x) = ∫₀^x (1 − e^−s)/s ds = E1(x) + ln x + γ.
double ein(double x) {
    if (x <= 0.0) {
        return 0.0;
    }
    if (x < 1.0) {
        double term = x;
        double sum = x;
        for (int k = 2; k < 40 && std::abs(term) > 1e-18 * sum; ++k) {
            term *= -x * (k - 1) / (double(k) * k);
            sum += term;
        }
        return sum;
    }
    const double e1 = x > 700.0 ? 0.0 : -std::expint(-x);
    return e1 + std::log(x) + std::numbers::egamma;
}

} // namespace

BullardQuadrature::BullardQuadrature(double alpha) : m_alpha(alpha) {
    if (!std::isfinite(alpha) || alpha <= 0.0) {
        throw std::invalid_argument("Bullard's F needs alpha above zero");
    }
    m_d2 = (alpha - 0.125) * (alpha - 0.125) - 9.0 / 64.0 - 0.75 * alpha;
    const auto rule = gaussLegendre(kPoints);
    const double x0 = std::log(kLowestU);
    const double x1 = std::log(kHighestU);
    const int panels = int(std::ceil((x1 - x0) / kPanelWidth));
    const double half = (x1 - x0) / panels / 2.0;
    // Points ascend within a panel from the rule's last node to its first.
    for (int p = 0; p < panels; ++p) {
        const double middle = x0 + half * (2 * p + 1);
        for (auto it = rule.rbegin(); it != rule.rend(); ++it) {
            const double u = std::exp(middle + half * it->first);
            // du = u dx cancels the integrand's 1/u.
            m_u2.push_back(u * u);
            m_weight.push_back(half * it->second * 4.0 * alpha / (pi * pi) / denominator(alpha, u));
            m_weightByU2.push_back(m_weight.back() / m_u2.back());
        }
    }
    m_restByU2.assign(m_u2.size() + 1, 0.0);
    for (std::size_t n = m_u2.size(); n-- > 0;) {
        m_restByU2[n] = m_restByU2[n + 1] + m_weightByU2[n];
    }
}

double BullardQuadrature::denominator(double alpha, double u) {
    if (u < kAsymptoticFrom) {
        const double j = u * std::cyl_bessel_j(0.0, u) - alpha * std::cyl_bessel_j(1.0, u);
        const double y = u * std::cyl_neumann(0.0, u) - alpha * std::cyl_neumann(1.0, u);
        return j * j + y * y;
    }
    // H_ν(u) ~ sqrt(2/(πu)) e^{i(u − νπ/2 − π/4)} Σ i^k a_k(ν)/u^k; the phase drops out of
    // |u·H₀ − α·H₁|², and H₁'s extra −π/2 makes it u·A₀ + iα·A₁.
    const std::complex<double> i(0.0, 1.0);
    std::complex<double> power = 1.0;
    double a0 = 1.0;
    double a1 = 1.0;
    std::complex<double> sum0 = 1.0;
    std::complex<double> sum1 = 1.0;
    for (int k = 1; k <= kAsymptoticTerms; ++k) {
        const double odd = 2.0 * k - 1.0;
        a0 *= -odd * odd / (8.0 * k * u);
        a1 *= (4.0 - odd * odd) / (8.0 * k * u);
        power *= i;
        sum0 += power * a0;
        sum1 += power * a1;
    }
    return 2.0 / (pi * u) * std::norm(u * sum0 + i * alpha * sum1);
}

BullardQuadrature::Values BullardQuadrature::values(double tau) const {
    Values v;
    if (!(tau >= 0.0)) {
        return v;
    }
    const double a = m_alpha;

    // Below the rule: D → (2α/(πu))², the integrand u/α.
    const double m2 = kLowestU * kLowestU;
    const double xm = tau * m2;
    v.f = xm > 0.0 ? -std::expm1(-xm) / (2.0 * a * tau) : m2 / (2.0 * a);
    v.rate = xm < 1e-3 ? -m2 * m2 / (4.0 * a) * (1.0 - 2.0 * xm / 3.0)
                       : -(1.0 - (1.0 + xm) * std::exp(-xm)) / (2.0 * a * tau * tau);
    double h = 0.0; // Σ W(1 − e^{−τu²})/u²
    std::size_t n = 0;
    for (; n < m_u2.size(); ++n) {
        const double x = tau * m_u2[n];
        if (x > kUnderflow) {
            break;
        }
        const double e = std::exp(-x);
        const double w = m_weight[n];
        v.f += w * e;
        v.rate -= w * m_u2[n] * e;
        h += m_weightByU2[n] * (x < 0.5 ? -std::expm1(-x) : 1.0 - e);
    }
    h += m_restByU2[n];
    v.heating = ein(xm) + 2.0 * a * h;

    // Above the rule: the integrand (2α/π)(1 − d₂/u²)/u², integrated in closed form
    // (K_n = ∫ e^{−τu²} u^{−n} du, L_n = ∫ (1 − e^{−τu²}) u^{−n} du, from U to ∞).
    const double u = kHighestU;
    const double s = std::sqrt(tau) * u;
    const double es = std::exp(-s * s);
    const double notEs = -std::expm1(-s * s);
    const double k2 = es / u - std::sqrt(pi * tau) * std::erfc(s);
    const double k4 = es / (3.0 * u * u * u) - 2.0 * tau / 3.0 * k2;
    const double l4 = notEs / (3.0 * u * u * u) + 2.0 * tau / 3.0 * k2;
    const double l6 = notEs / (5.0 * std::pow(u, 5)) + 2.0 * tau / 5.0 * k4;
    const double tail = 2.0 * a / pi;
    v.f += tail * (k2 - m_d2 * k4);
    v.rate += tau > 0.0
                  ? tail * (-std::sqrt(pi) / (2.0 * std::sqrt(tau)) * std::erfc(s) + m_d2 * k2)
                  : -std::numeric_limits<double>::infinity();
    v.heating += 2.0 * a * tail * (l4 - m_d2 * l6);
    if (tau == 0.0) {
        v.heating = 0.0;
    }
    return v;
}

double BullardQuadrature::f(double tau) const {
    return values(tau).f;
}

double BullardQuadrature::heating(double tau) const {
    return values(tau).heating;
}

} // namespace quorvane::probesim
