#include "analysis/CylinderResponse.h"
#include "analysis/LineFit.h"
#include "analysis/LineSource.h"
#include "analysis/MinimumSearch.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::analysis {
namespace {

struct LineCase {
    const char* name;
    std::vector<double> x;
    std::vector<double> y;
    double slope;
    double intercept;
    double slopeErr;
    double interceptErr;
    double rms;
};

// Worked by hand: for x = 1..5, y = 2.1, 3.9, 6.2, 7.8, 10.1: Sxx = 10, Sxy = 19.9,
// slope 1.99, intercept 0.05; residuals 0.06, -0.13, 0.18, -0.21, 0.10, SSE 0.107.
const LineCase kLines[] = {
    {"exact", {0, 1, 2, 3}, {1, 3, 5, 7}, 2.0, 1.0, 0.0, 0.0, 0.0},
    {"hand",
     {1, 2, 3, 4, 5},
     {2.1, 3.9, 6.2, 7.8, 10.1},
     1.99,
     0.05,
     std::sqrt(0.107 / 3 / 10),
     std::sqrt(0.107 / 3 * (1.0 / 5 + 9.0 / 10)),
     std::sqrt(0.107 / 5)},
    {"falling, far from zero", {1e9, 1e9 + 1, 1e9 + 2}, {5, 4, 3}, -1.0, 5 + 1e9, 0.0, 0.0, 0.0},
};

TEST(LineFit, KnownAnswers) {
    for (const auto& c : kLines) {
        SCOPED_TRACE(c.name);
        const auto f = LineFit::fit(c.x, c.y);
        ASSERT_TRUE(f);
        EXPECT_NEAR(f->slope, c.slope, 1e-9);
        EXPECT_NEAR(f->intercept, c.intercept, 1e-9 * std::max(1.0, std::abs(c.intercept)));
        EXPECT_NEAR(f->slopeErr, c.slopeErr, 1e-9);
        EXPECT_NEAR(f->interceptErr, c.interceptErr, 1e-6);
        EXPECT_NEAR(f->rms, c.rms, 1e-9);
    }
}

TEST(LineFit, RefusesWhatCannotBeFitted) {
    EXPECT_FALSE(LineFit::fit({1, 2}, {1, 2}));         // two points
    EXPECT_FALSE(LineFit::fit({3, 3, 3}, {1, 2, 3}));   // no spread in x
    EXPECT_FALSE(LineFit::fit({1, 2, 3}, {1, 2}));      // sizes differ
    EXPECT_FALSE(LineFit::fit({1, 2, NAN}, {1, 2, 3})); // not a number
}

TEST(LineSource, ExponentialIntegralAgainstTables) {
    // Abramowitz and Stegun, table 5.1.
    const std::pair<double, double> table[] = {
        {0.01, 4.0379295765}, {0.1, 1.8229239584}, {0.5, 0.5597735948},
        {1.0, 0.2193839344},  {2.0, 0.0489005107}, {5.0, 0.0011482956},
    };
    for (const auto& [x, e1] : table) {
        EXPECT_NEAR(LineSource::e1(x), e1, 1e-9) << "x = " << x;
    }
}

TEST(LineSource, DiffusivityFromConductivity) {
    // κ = k / (5.79 - 3.67 k + 1.016 k²) × 1e-6, by hand.
    const std::pair<double, double> table[] = {
        {0.5, 0.5 / 4.209 * 1e-6}, {1.0, 1.0 / 3.136 * 1e-6}, {2.0, 2.0 / 2.514 * 1e-6}};
    for (const auto& [k, kappa] : table) {
        EXPECT_NEAR(LineSource::diffusivity(k), kappa, 1e-15) << "k = " << k;
    }
}

// Bullard's F and its integral H: the limits that hold for every α, and the table against the
// quadrature it was made from.
TEST(CylinderResponse, LimitsAndTheTableAgainstItsQuadrature) {
    for (double alpha : {0.5, 1.0, 2.0, 3.0, 5.0}) {
        SCOPED_TRACE(alpha);
        const CylinderResponse r(alpha);
        EXPECT_EQ(r.pulse(0.0), 1.0);
        EXPECT_NEAR(r.pulse(1e-9), 1.0, 1e-3);
        EXPECT_NEAR(CylinderResponse::pulseByQuadrature(alpha, 1e-8), 1.0, 2e-3);
        // F → 1/(2ατ), H → ln τ + ln 4 − γ.
        for (double tau : {1e4, 1e6, 1e8}) {
            EXPECT_NEAR(r.pulse(tau) * 2.0 * alpha * tau, 1.0, 5e-3 * 1e4 / tau);
            EXPECT_NEAR(r.heating(tau) - std::log(tau), std::log(4.0) - 0.5772156649,
                        1e-2 * 1e4 / tau);
        }
        double worst = 0.0;
        for (double x = -11.0; x < 13.5; x += 0.41) {
            const double tau = std::exp(x);
            worst = std::max(
                worst,
                std::abs(r.pulse(tau) / CylinderResponse::pulseByQuadrature(alpha, tau) - 1.0));
            worst = std::max(
                worst,
                std::abs(r.heating(tau) / CylinderResponse::heatingByQuadrature(alpha, tau) - 1.0));
            // H is the integral of F: dH/dτ = 2αF.
            const double h = 1e-5 * tau;
            EXPECT_NEAR((r.heating(tau + h) - r.heating(tau - h)) / (2.0 * h),
                        2.0 * alpha * r.pulse(tau), 5e-5 * 2.0 * alpha * r.pulse(tau) + 1e-9);
        }
        EXPECT_LT(worst, 1e-6);
    }
    // With α = 2, F ≈ 1/(4τ) − 1/(8τ²) within 0.5 % from τ = 5 (0.503 % there) and 0.05 % from
    // τ = 10.
    const CylinderResponse two(2.0);
    for (const auto& [tau, within] : {std::pair{5.0, 5.1e-3}, {10.0, 5e-4}, {40.0, 5e-4}}) {
        EXPECT_NEAR(two.pulse(tau) / (1.0 / (4.0 * tau) - 1.0 / (8.0 * tau * tau)), 1.0, within);
    }
}

TEST(MinimumSearch, FindsTheMinimaOfKnownFunctions) {
    struct Case {
        const char* name;
        MinimumSearch::Function f;
        double low;
        double high;
        bool logarithmic;
        double x;
    };
    const Case cases[] = {
        {"parabola", [](double x) { return (x - 1.3) * (x - 1.3) + 2.0; }, -5.0, 5.0, false, 1.3},
        {"at the low end", [](double x) { return x; }, 2.0, 3.0, false, 2.0},
        {"k-like, log grid", [](double k) { return std::pow(std::log(k / 0.77), 2); }, 0.1, 10.0,
         true, 0.77},
        {"two minima, the deeper", [](double x) { return std::cos(3.0 * x) + 0.1 * x; }, 0.0, 6.0,
         false, 1.0472 - 0.0111},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Minimum m =
            MinimumSearch::scanThenRefine(c.f, c.low, c.high, 31, c.logarithmic, 1e-7);
        EXPECT_NEAR(m.x, c.x, 1e-3);
        EXPECT_DOUBLE_EQ(m.value, c.f(m.x));
    }
}

} // namespace
} // namespace quorvane::analysis
