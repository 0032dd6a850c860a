#include "analysis/LineFit.h"
#include "analysis/LineSource.h"

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

} // namespace
} // namespace quorvane::analysis
