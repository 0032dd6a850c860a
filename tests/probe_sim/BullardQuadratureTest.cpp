// Bullard's F and the heating H against what is known of them without the quadrature: the
// limits, the probe's heat capacity early, the ideal line late, and plain integrations.

#include "BullardQuadrature.h"
#include "BullardTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace quorvane::probesim {
namespace {

using std::numbers::pi;

const double kAlphas[] = {0.1, 0.5, 1.0, 2.0, 5.0, 10.0};

TEST(BullardQuadrature, AllTheHeatIsInTheProbeAtFirst) {
    for (double alpha : kAlphas) {
        const BullardQuadrature q(alpha);
        EXPECT_NEAR(q.f(0.0), 1.0, 1e-9) << alpha;
        EXPECT_EQ(q.heating(0.0), 0.0) << alpha;
        EXPECT_EQ(q.f(-1.0), 0.0) << alpha; // before the heating
        EXPECT_EQ(q.heating(-1.0), 0.0) << alpha;
    }
}

// Early the sediment around the probe is a half-space: the probe loses heat as
// 1 − 2α√(τ/π), and a constant heating warms its heat capacity alone, H = 2ατ.
TEST(BullardQuadrature, EarlyTheProbesHeatCapacityRules) {
    const double tau = 1e-6;
    for (double alpha : kAlphas) {
        const BullardQuadrature q(alpha);
        EXPECT_NEAR((1.0 - q.f(tau)) / (2.0 * alpha * std::sqrt(tau / pi)), 1.0, 0.01) << alpha;
        EXPECT_NEAR(q.heating(tau) / (2.0 * alpha * tau), 1.0, 0.01) << alpha;
    }
}

// Late the cylinder is a line: F → 1/(2ατ), and H rises by one per unit of ln τ.
TEST(BullardQuadrature, LateTheProbeIsALine) {
    for (double alpha : {0.5, 2.0, 5.0}) {
        const BullardQuadrature q(alpha);
        double previous = 1.0;
        for (double tau : {1e3, 1e5, 1e7}) {
            const double off = std::abs(q.f(tau) * 2.0 * alpha * tau - 1.0);
            EXPECT_LT(off, 0.02 * 1e3 / tau * std::log(tau)) << alpha << " " << tau;
            EXPECT_LT(off, previous) << alpha << " " << tau;
            previous = off;
            const double slope =
                (q.heating(tau * 1.01) - q.heating(tau / 1.01)) / (2.0 * std::log(1.01));
            EXPECT_NEAR(slope, 1.0, 0.02 * 1e3 / tau * std::log(tau)) << alpha << " " << tau;
        }
    }
}

// With α = 2 the next term is −1/(8τ²): within 0.51 % at τ = 5 (0.503 %), 0.05 % from 10.
TEST(BullardQuadrature, TwoTermsOfTheLateSeriesForAlphaTwo) {
    const BullardQuadrature q(2.0);
    const std::vector<std::pair<double, double>> cases = {
        {5.0, 0.0051}, {10.0, 5e-4}, {20.0, 5e-4}, {100.0, 5e-4}, {1e4, 5e-4}};
    for (const auto& [tau, tolerance] : cases) {
        const double series = 1.0 / (4.0 * tau) - 1.0 / (8.0 * tau * tau);
        EXPECT_NEAR(q.f(tau) / series, 1.0, tolerance) << tau;
    }
}

// The integral itself by a plain composite Simpson rule in ln u with the Bessel functions all
// the way from 1e-8 to 1e4: checks the nodes, the asymptotic D and the closed-form ends.
TEST(BullardQuadrature, MatchesAPlainIntegrationOfTheIntegral) {
    const double lo = std::log(1e-8);
    const double hi = std::log(1e4);
    const int n = 8000;
    const double h = (hi - lo) / n;
    for (double alpha : {0.5, 2.0, 5.0}) {
        const BullardQuadrature q(alpha);
        std::vector<double> u(n + 1);
        std::vector<double> weight(n + 1); // Simpson's weight over D (du/u times u)
        for (int i = 0; i <= n; ++i) {
            u[i] = std::exp(lo + i * h);
            const double j =
                u[i] * std::cyl_bessel_j(0.0, u[i]) - alpha * std::cyl_bessel_j(1.0, u[i]);
            const double y =
                u[i] * std::cyl_neumann(0.0, u[i]) - alpha * std::cyl_neumann(1.0, u[i]);
            weight[i] = (i == 0 || i == n ? 1.0 : (i % 2 ? 4.0 : 2.0)) / (j * j + y * y);
        }
        for (double tau : {1e-3, 0.1, 1.0, 30.0}) {
            double sum = 0.0;
            for (int i = 0; i <= n; ++i) {
                sum += weight[i] * std::exp(-tau * u[i] * u[i]);
            }
            const double f = 4.0 * alpha / (pi * pi) * sum * h / 3.0;
            EXPECT_NEAR(q.f(tau) / f, 1.0, 1e-7) << alpha << " " << tau;
        }
    }
}

// H(τ) = 2α ∫₀^τ F: Simpson over ln τ' from 1e-12 (where F is 1).
TEST(BullardQuadrature, HeatingIsTheIntegralOfF) {
    for (double alpha : {0.5, 2.0, 5.0}) {
        const BullardQuadrature q(alpha);
        for (double tau : {1e-3, 3.0, 1e3}) {
            const double lo = std::log(1e-12);
            const double hi = std::log(tau);
            const int n = 800;
            const double h = (hi - lo) / n;
            double sum = 0.0;
            for (int i = 0; i <= n; ++i) {
                const double t = std::exp(lo + i * h);
                sum += (i == 0 || i == n ? 1.0 : (i % 2 ? 4.0 : 2.0)) * q.f(t) * t;
            }
            const double integral = 1e-12 + sum * h / 3.0;
            EXPECT_NEAR(q.heating(tau) / (2.0 * alpha * integral), 1.0, 1e-8)
                << alpha << " " << tau;
        }
    }
}

TEST(BullardQuadrature, DenominatorsEndsAndTheSwitchToTheAsymptoticSeries) {
    for (double alpha : {0.5, 2.0, 5.0}) {
        // Small u: (2α/(πu))².
        const double u = 1e-7;
        EXPECT_NEAR(BullardQuadrature::denominator(alpha, u) / std::pow(2.0 * alpha / (pi * u), 2),
                    1.0, 1e-9);
        // Either side of the switch the two forms agree.
        const double below = BullardQuadrature::denominator(alpha, std::nextafter(20.0, 0.0));
        const double above = BullardQuadrature::denominator(alpha, 20.0);
        EXPECT_NEAR(above / below, 1.0, 1e-12) << alpha;
        // Large u: (2u/π)(1 + d₂/u²).
        const double d2 = (alpha - 0.125) * (alpha - 0.125) - 9.0 / 64.0 - 0.75 * alpha;
        EXPECT_NEAR(BullardQuadrature::denominator(alpha, 1e4) / (2e4 / pi * (1.0 + d2 * 1e-8)),
                    1.0, 1e-13);
    }
    EXPECT_THROW(BullardQuadrature(0.0), std::invalid_argument);
    EXPECT_THROW(BullardQuadrature(-1.0), std::invalid_argument);
}

// The table the file mode reads equals the quadrature between its points and beyond its ends.
TEST(BullardTable, EqualsTheQuadrature) {
    for (double alpha : {0.5, 2.0, 5.0}) {
        const BullardTable table(alpha);
        const BullardQuadrature& q = table.quadrature();
        for (double tau = 3e-7; tau < 3e10; tau *= 1.37) {
            EXPECT_NEAR(table.f(tau) / q.f(tau), 1.0, 1e-8) << alpha << " " << tau;
            EXPECT_NEAR(table.heating(tau) / q.heating(tau), 1.0, 1e-8) << alpha << " " << tau;
        }
        EXPECT_EQ(table.f(0.0), q.f(0.0));
        EXPECT_EQ(table.heating(-1.0), 0.0);
    }
}

} // namespace
} // namespace quorvane::probesim
