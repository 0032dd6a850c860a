#include "analysis/CoolingFit.h"
#include "analysis/DecayFit.h"
#include "analysis/GradientFit.h"
#include "analysis/HeatFlow.h"
#include "analysis/LineSourceFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quorvane::analysis {
namespace {

double e1(double x) {
    return -std::expint(-x);
}
double kappa(double k) {
    return k / (5.79 - 3.67 * k + 1.016 * k * k) * 1e-6;
}

TEST(DecayFit, ExactBullardDecayGivesItsEquilibrium) {
    const double tp = 1000.5;
    const std::pair<double, double> cases[] = {{4.1234, 30.0}, {-1.5, 5.0}, {12.0, 0.0}};
    for (const auto& [tEq, a] : cases) {
        Samples s;
        for (int i = 200; i < 420; ++i) {
            s.add(tp + i, tEq + a / i);
        }
        const auto f = DecayFit(tp).fit(s);
        ASSERT_TRUE(f) << f.reason().toStdString();
        EXPECT_NEAR(f->tEqC, tEq, 1e-9);
        EXPECT_NEAR(f->aKs, a, 1e-6);
        EXPECT_NEAR(f->rmsC, 0.0, 1e-9);
        EXPECT_EQ(f->records, 220);
        EXPECT_NEAR(f->at(tp + 500), tEq + a / 500, 1e-9);
    }
}

TEST(DecayFit, RecordsBeforeThePenetrationAndTooFewAreRefused) {
    Samples s;
    s.add(10, 4.0);
    s.add(11, 4.0);
    s.add(12, 3.0);
    s.add(13, 2.0);
    EXPECT_FALSE(DecayFit(11.0).fit(s)); // two records after t_p
    EXPECT_TRUE(DecayFit(9.0).fit(s));
}

struct HeatCase {
    double k;
    double q;
    double radius;
    double offset;
};

const HeatCase kHeatCases[] = {
    {0.6, 30.0, 0.001, 0.0},
    {1.0, 30.0, 0.001, 0.0},
    {1.5, 20.0, 0.003, 0.01},
    {3.0, 50.0, 0.001, -0.02},
};

TEST(LineSourceFit, ExactE1RiseGivesItsConductivity) {
    const double on = 5000.5;
    for (const auto& c : kHeatCases) {
        SCOPED_TRACE(c.k);
        Samples rise;
        for (int i = 180; i <= 600; ++i) {
            const double dt = i - 0.5;
            rise.add(on + dt, c.q / (4 * std::numbers::pi * c.k) *
                                      e1(c.radius * c.radius / (4 * kappa(c.k) * dt)) +
                                  c.offset);
        }
        const auto f = LineSourceFit(LineSource(c.q, c.radius), on).fit(rise, 1.0);
        ASSERT_TRUE(f) << f.reason().toStdString();
        EXPECT_NEAR(f->kWPerMK, c.k, c.k * 2e-3);
        EXPECT_NEAR(f->offsetK, c.offset, 1e-3);
        EXPECT_NEAR(f->kappaM2PerS, kappa(c.k), kappa(c.k) * 1e-2);
        EXPECT_LT(f->rmsC, 1e-5);
    }
}

TEST(CoolingFit, ExactSuperposedFallGivesItsConductivity) {
    const double on = 5000.5;
    const std::pair<double, double> heatTimes[] = {{0.6, 20.0}, {1.0, 20.0}, {2.0, 600.0}};
    for (const auto& [k, heat] : heatTimes) {
        SCOPED_TRACE(k);
        const double off = on + heat;
        const double arg = 0.001 * 0.001 / (4 * kappa(k));
        Samples rise;
        for (int i = 1; i <= 300; ++i) {
            const double t = off + i - 0.5;
            rise.add(t, 30.0 / (4 * std::numbers::pi * k) *
                            (e1(arg / (t - on)) - e1(arg / (t - off))));
        }
        const auto f = CoolingFit(LineSource(30.0, 0.001), on, off).fit(rise, 1.0);
        ASSERT_TRUE(f) << f.reason().toStdString();
        EXPECT_NEAR(f->kWPerMK, k, k * 2e-3);
    }
}

TEST(ConductivityFits, NoRiseIsNoConductivity) {
    Samples flat;
    for (int i = 1; i < 100; ++i) {
        flat.add(100.0 + i, 1.0 - 0.001 * i); // falling while heated
    }
    const auto f = LineSourceFit(LineSource(30.0, 0.001), 100.0).fit(flat, 1.0);
    ASSERT_FALSE(f);
    EXPECT_EQ(f.reason(), "heating fit: no rise from the heater");
    EXPECT_FALSE(LineSourceFit(LineSource(0.0, 0.001), 100.0).fit(flat, 1.0));
}

TEST(GradientFit, SlopeAgainstVerticalDepth) {
    const std::vector<double> z{0.0, 0.5, 1.0, 1.5, 2.0};
    struct Case {
        double tilt;
        std::vector<std::optional<double>> tEq;
        double gradient;
        int sensors;
    };
    const double c30 = std::cos(30.0 * std::numbers::pi / 180.0);
    const Case cases[] = {
        {0.0, {4.0, 4.03, 4.06, 4.09, 4.12}, 0.06, 5},
        {30.0,
         {4.0, 4.0 + 0.5 * c30 * 0.08, 4.0 + c30 * 0.08, 4.0 + 1.5 * c30 * 0.08,
          4.0 + 2 * c30 * 0.08},
         0.08,
         5},
        {0.0, {std::nullopt, 4.03, std::nullopt, 4.09, 4.12}, 0.06, 3},
    };
    for (const auto& c : cases) {
        const auto g = GradientFit(c.tilt).fit(z, c.tEq);
        ASSERT_TRUE(g);
        EXPECT_NEAR(g->kPerM, c.gradient, 1e-9);
        EXPECT_NEAR(g->errKPerM, 0.0, 1e-9);
        EXPECT_EQ(g->sensors, c.sensors);
    }
    // By hand: T_eq 4.00, 4.04, 4.06 at 0, 0.5, 1: slope 0.06, residuals -0.0033, 0.0067,
    // -0.0033, SSE 6.667e-5, σ = sqrt(SSE / 1 / 0.5).
    const auto g = GradientFit(0.0).fit({0.0, 0.5, 1.0}, {4.0, 4.04, 4.06});
    ASSERT_TRUE(g);
    EXPECT_NEAR(g->kPerM, 0.06, 1e-9);
    EXPECT_NEAR(g->errKPerM, std::sqrt(6.6667e-5 / 0.5), 1e-5);
    EXPECT_FALSE(GradientFit(0.0).fit(z, {4.0, std::nullopt, std::nullopt, 4.1, std::nullopt}));
}

TEST(HeatFlow, IntervalAndBullardOnHandMadeSets) {
    // Harmonic mean of 1, 2, 2, 1, 4: 5 / (1 + .5 + .5 + 1 + .25) = 1.538462.
    const std::vector<std::optional<double>> k{1.0, 2.0, 2.0, 1.0, 4.0};
    const std::vector<std::optional<double>> kErr{0.01, 0.0, 0.0, 0.0, 0.0};
    const auto mean = HeatFlow::harmonicMean(k, kErr);
    ASSERT_TRUE(mean);
    EXPECT_NEAR(mean->kWPerMK, 5.0 / 3.25, 1e-9);
    // dk̄/dk_1 = k̄² / (5 · 1²)
    EXPECT_NEAR(mean->errWPerMK, 0.01 * mean->kWPerMK * mean->kWPerMK / 5.0, 1e-12);

    const auto q = HeatFlow::interval(*mean, 0.05, 0.001);
    EXPECT_NEAR(q.mWPerM2, 5.0 / 3.25 * 50.0, 1e-9);
    const double rel = std::hypot(mean->errWPerMK / mean->kWPerMK, 0.02);
    EXPECT_NEAR(q.errMWPerM2, q.mWPerM2 * rel, 1e-9);

    // A steady conductive profile: with Q = 60 mW/m² each interval of 0.5 m warms by
    // Q·Δz/k̄_interval; Bullard's slope gives Q back exactly.
    const std::vector<double> z{0.0, 0.5, 1.0, 1.5, 2.0};
    std::vector<std::optional<double>> tEq{4.0};
    for (std::size_t i = 1; i < 5; ++i) {
        tEq.push_back(*tEq.back() + 0.060 * 0.5 / ((*k[i] + *k[i - 1]) / 2.0));
    }
    const auto bullard = HeatFlow::bullard(z, tEq, k);
    ASSERT_TRUE(bullard);
    EXPECT_NEAR(*bullard, 60.0, 1e-9);
    EXPECT_FALSE(HeatFlow::bullard(z, tEq, {1.0, std::nullopt, std::nullopt, 1.0, std::nullopt}));
    EXPECT_FALSE(HeatFlow::harmonicMean({std::nullopt, std::nullopt}, {}));
}

TEST(HeatFlow, QualityWords) {
    const std::pair<double, const char*> table[] = {
        {0.0, "excellent"},   {0.049, "excellent"},  {0.05, "good"}, {0.149, "good"},
        {0.15, "acceptable"}, {0.249, "acceptable"}, {0.25, "poor"}, {3.0, "poor"}};
    for (const auto& [rel, word] : table) {
        EXPECT_EQ(HeatFlow::quality(rel), word) << rel;
    }
}

} // namespace
} // namespace quorvane::analysis
