#include "analysis/BullardDecayFit.h"
#include "analysis/ConductivitySearch.h"
#include "analysis/DecayFit.h"
#include "analysis/GradientFit.h"
#include "analysis/HeatFlow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace quorvane::analysis {
namespace {

double kappa(double k) {
    return k / (5.79 - 3.67 * k + 1.016 * k * k) * 1e-6;
}

TEST(DecayFit, ExactLineDecayGivesItsEquilibrium) {
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
        EXPECT_NEAR(f->amplitude, a, 1e-6);
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

// A thick probe's decay, records 10 s apart from the 6th on: the delay of the heating and
// T_eq come back, where the 1/t form misses T_eq by millikelvins.
TEST(BullardDecayFit, ExactCylinderDecayGivesItsEquilibriumAndDelay) {
    const auto response = std::make_shared<const CylinderResponse>(2.0);
    struct Case {
        double radius;
        double k;
        double delay;
        double interval;
    };
    const Case cases[] = {{0.00476, 0.8, 12.0, 10.0},
                          {0.00476, 1.5, -3.0, 10.0},
                          {0.003, 0.6, 0.0, 1.0},
                          {0.001, 2.5, 30.0, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius << " k " << c.k);
        const double tp = 1000.0 - c.interval / 2.0;
        const double kap = kappa(c.k);
        const double b = 2.5; // K at the moment of the heating
        Samples s;
        Samples late;
        for (double t = 1000.0 + 80.0; t <= 1420.0; t += c.interval) {
            const double v =
                4.1234 + b * response->pulse(kap * (t - tp - c.delay) / (c.radius * c.radius));
            s.add(t, v);
            if (t > 1250.0) {
                late.add(t, v);
            }
        }
        BullardDecayFit::Delays delays;
        delays.stepS = c.interval;
        const auto f = BullardDecayFit(response, c.radius, tp, kap, delays).fit(s);
        ASSERT_TRUE(f) << f.reason().toStdString();
        EXPECT_NEAR(f->tEqC, 4.1234, 2e-6);
        EXPECT_NEAR(f->delayS, c.delay, 0.2);
        EXPECT_NEAR(f->amplitude, b, 0.01);
        EXPECT_LT(f->rmsC, 2e-6);
        EXPECT_EQ(f->method, DecayCurve::Method::Bullard);
        // Carried forward it stays on the curve.
        EXPECT_NEAR(f->at(1600.0),
                    4.1234 +
                        b * response->pulse(kap * (1600.0 - tp - c.delay) / (c.radius * c.radius)),
                    1e-5);
        if (c.radius > 0.004) {
            const auto line = DecayFit(tp).fit(late);
            ASSERT_TRUE(line);
            EXPECT_GT(std::abs(line->tEqC - 4.1234), 0.003) << "the 1/t form is biased here";
        }
    }
}

// The heater's curve for the search to find: a cylinder's, or a line's (no response).
HeaterCurve curveOf(double q, double radius, double on, std::optional<double> off,
                    std::shared_ptr<const CylinderResponse> response) {
    HeaterCurve c;
    c.qWPerM = q;
    c.onS = on;
    c.offS = off;
    c.radiusM = radius;
    c.response = std::move(response);
    return c;
}

struct HeatCase {
    const char* name;
    double k;
    double radius;
    double heatS; // heat time
    double fromS; // window from t_on
    double toS;
    double interval;
    double shift;    // the true switches lie this much after the column's
    double constant; // only for a heating
    bool line;
};

const HeatCase kHeatCases[] = {
    {"pulse, thick probe, 10 s records", 0.8, 0.00476, 20.0, 160.0, 720.0, 10.0, 3.0, 0.0, false},
    {"pulse, thick probe, k 2.5", 2.5, 0.00476, 20.0, 40.0, 300.0, 10.0, -4.0, 0.0, false},
    {"pulse, thin probe, 1 s records", 0.6, 0.001, 20.0, 21.0, 60.0, 1.0, 0.4, 0.0, false},
    {"heating, thick probe", 0.6, 0.00476, 600.0, 180.0, 600.0, 1.0, 0.5, 0.012, false},
    {"heating, 10 s records", 1.5, 0.003, 600.0, 180.0, 600.0, 10.0, -2.0, -0.02, false},
    {"heating, a line", 1.0, 0.001, 600.0, 180.0, 600.0, 1.0, 0.0, 0.01, true},
    {"pulse, a line", 1.2, 0.001, 20.0, 25.0, 300.0, 1.0, 0.0, 0.0, true},
};

TEST(ConductivitySearch, ExactHeaterCurvesGiveTheirConductivityAndShift) {
    const auto response = std::make_shared<const CylinderResponse>(2.0);
    const double on = 5000.0;
    for (const auto& c : kHeatCases) {
        SCOPED_TRACE(c.name);
        const bool pulse = c.heatS < 60.0;
        const HeaterCurve model =
            curveOf(30.0, c.radius, on, pulse ? std::optional<double>(on + c.heatS) : std::nullopt,
                    c.line ? nullptr : response);
        Samples rise;
        for (double t = on + c.fromS; t <= on + c.toS; t += c.interval) {
            rise.add(t, model.riseFor(c.k, kappa(c.k), c.shift, t) + c.constant);
        }
        ConductivitySearch::Setup setup;
        setup.model = model;
        setup.freeConstant = !pulse;
        setup.largestShiftS = c.interval;
        const auto f = ConductivitySearch::fit(rise, setup);
        ASSERT_TRUE(f) << f.reason().toStdString();
        EXPECT_NEAR(f->kWPerMK, c.k, c.k * 1e-4);
        EXPECT_NEAR(f->shiftS, c.shift, 0.02);
        EXPECT_NEAR(f->constantK, c.constant, 1e-5);
        EXPECT_LT(f->rmsC, 1e-6);
        EXPECT_NEAR(f->curve.rise(on + c.toS), rise.value.back(), 1e-6);
    }
}

TEST(ConductivitySearch, NoRiseIsNoConductivity) {
    Samples flat;
    for (int i = 1; i < 100; ++i) {
        flat.add(100.0 + i, 0.0);
    }
    ConductivitySearch::Setup setup;
    setup.model = curveOf(30.0, 0.001, 100.0, std::nullopt, nullptr);
    const auto f = ConductivitySearch::fit(flat, setup);
    ASSERT_FALSE(f);
    EXPECT_EQ(f.reason(), "no rise from the heater");
    setup.model.qWPerM = 0.0;
    EXPECT_EQ(ConductivitySearch::fit(flat, setup).reason(), "no heater power");
    Samples two;
    two.add(101, 1.0);
    two.add(102, 1.0);
    EXPECT_EQ(ConductivitySearch::fit(two, setup).reason(), "fewer than 3 records in the window");
}

// With noise the stated error is the spread a fit really has.
TEST(ConductivitySearch, StatedErrorMatchesTheScatterOfNoisyFits) {
    const auto response = std::make_shared<const CylinderResponse>(2.0);
    const HeaterCurve model = curveOf(30.0, 0.00476, 0.0, 20.0, response);
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 0.001);
    double sum = 0.0;
    double sumSquares = 0.0;
    double stated = 0.0;
    constexpr int kRuns = 40;
    for (int run = 0; run < kRuns; ++run) {
        Samples rise;
        for (double t = 150.0; t <= 700.0; t += 10.0) {
            rise.add(t, model.riseFor(0.8, kappa(0.8), 0.0, t) + noise(random));
        }
        ConductivitySearch::Setup setup;
        setup.model = model;
        setup.largestShiftS = 10.0;
        const auto f = ConductivitySearch::fit(rise, setup);
        ASSERT_TRUE(f);
        sum += f->kWPerMK;
        sumSquares += f->kWPerMK * f->kWPerMK;
        stated += f->kErrWPerMK / kRuns;
    }
    const double mean = sum / kRuns;
    const double spread = std::sqrt(sumSquares / kRuns - mean * mean);
    EXPECT_NEAR(mean, 0.8, 0.8 * 0.01);
    EXPECT_GT(stated, spread / 2.0);
    EXPECT_LT(stated, spread * 2.0);
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
    EXPECT_NEAR(bullard->mWPerM2, 60.0, 1e-9);
    EXPECT_NEAR(bullard->errMWPerM2, 0.0, 1e-9);
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
