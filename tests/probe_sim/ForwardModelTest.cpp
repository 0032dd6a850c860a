#include "ForwardModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane::probesim {
namespace {

// Abramowitz and Stegun, table 5.1.
TEST(ForwardModel, ExponentialIntegralMatchesTheTable) {
    const std::vector<std::pair<double, double>> table = {
        {0.001, 6.331539364},  {0.01, 4.037929577},    {0.1, 1.822923958},
        {0.5, 0.5597735948},   {1.0, 0.2193839344},    {2.0, 0.04890051071},
        {5.0, 1.148295591e-3}, {10.0, 4.156968930e-6}, {800.0, 0.0}};
    for (const auto& [x, e1] : table) {
        EXPECT_NEAR(ForwardModel::e1(x), e1, 1e-9 * std::max(1.0, e1)) << x;
    }
}

TEST(ForwardModel, DiffusivityFromConductivity) {
    const std::vector<std::pair<double, double>> table = {
        {0.5, 1.18793062e-7}, {1.0, 3.18877551e-7}, {2.0, 7.95544948e-7}};
    for (const auto& [k, kappa] : table) {
        EXPECT_NEAR(ForwardModel::diffusivity(k), kappa, 1e-15) << k;
    }
}

struct FrictionCase {
    double t;
    double expected; // TTop, equilibrium 4.0
};

TEST(ForwardModel, BottomWaterThenCappedFrictionalDecay) {
    ModelParameters p;
    p.profile.alpha = 0.0; // the line source
    p.penetrations = {{100.0, std::nullopt}};
    const ForwardModel m(p);
    const std::vector<FrictionCase> cases = {{0.0, 4.0},    {100.0, 4.0}, {100.5, 9.0},
                                             {101.0, 9.0},  {102.0, 9.0}, {110.0, 5.0},
                                             {1100.0, 4.01}};
    for (const auto& c : cases) {
        EXPECT_NEAR(m.temperature(0, c.t, {}), c.expected, 1e-12) << c.t;
    }
    // Before penetration every thermistor reads the bottom water, after it its own T_eq.
    EXPECT_DOUBLE_EQ(m.temperature(4, 99.0, {}), 4.0);
    EXPECT_NEAR(m.temperature(4, 1100.0, {}), 4.128 + 0.01, 1e-12);
}

TEST(ForwardModel, FrictionPerSensorAndTheCapAsGiven) {
    ModelParameters p;
    p.profile.alpha = 0.0; // the line source
    p.penetrations = {{0.0, std::nullopt}};
    p.frictionAKs = {1.0, 2.0, 3.0, 4.0, 5.0};
    p.frictionMaxK = 0.02;
    const ForwardModel m(p);
    const double expected[] = {0.01, 0.02, 0.02, 0.02, 0.02};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(m.frictionExcess(i, 100.0), expected[i], 1e-15) << i;
    }
    ModelParameters inPlace;

    EXPECT_DOUBLE_EQ(ForwardModel(inPlace).temperature(2, 0.0, {}), 4.064);
}

TEST(ForwardModel, TiltShortensTheVerticalDepths) {
    ModelParameters p;
    p.profile.tiltDeg = 60.0;
    p.gradientKPerM = 0.1;
    p.bottomWaterC = 2.0;
    const ForwardModel m(p);
    const double vertical[] = {0.0, 0.25, 0.5, 0.75, 1.0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(m.verticalDepth(i), vertical[i], 1e-12) << i;
        EXPECT_NEAR(m.equilibrium(i), 2.0 + 0.1 * vertical[i], 1e-12) << i;
    }
}

struct HeaterCase {
    const char* what;
    double k;
    double t;
    double rise; // hand-computed from the series of E1
};

// q = 120 x 0.25 = 30 W/m on at 0 and off at 600, radius 1 mm.
TEST(ForwardModel, LineSourceRiseAndTheFallAfterSwitchOff) {
    const std::vector<HeaterCase> cases = {
        {"before", 1.0, 0.0, 0.0},
        {"on, k 1", 1.0, 100.0, 10.215659488},
        {"on, k 2", 2.0, 100.0, 6.193507829},
        {"off, k 1", 1.0, 900.0, 2.618588016},
    };
    const HeaterSpan span{0.0, 600.0, 120.0};
    for (const auto& c : cases) {
        ModelParameters p;
        p.profile.alpha = 0.0;

        p.conductivity.fill(c.k);
        const ForwardModel m(p);
        EXPECT_NEAR(m.heaterRise(0, c.t, span), c.rise, 1e-8) << c.what;
        EXPECT_NEAR(m.temperature(0, c.t, {&span, 1}) - 4.0, c.rise, 1e-8) << c.what;
    }
}

TEST(ForwardModel, ConductivityPerSensorAndTheHarmonicMeanHeatFlow) {
    ModelParameters p;
    p.profile.alpha = 0.0; // the line source
    p.conductivity = {1.0, 2.0, 1.0, 2.0, 1.0};
    const ForwardModel m(p);
    const HeaterSpan span{0.0, std::nullopt, 120.0};
    EXPECT_NEAR(m.heaterRise(0, 100.0, span), 10.215659488, 1e-8);
    EXPECT_NEAR(m.heaterRise(1, 100.0, span), 6.193507829, 1e-8);
    EXPECT_NEAR(m.heatFlowMwPerM2(), 1.25 * 0.064 * 1000.0, 1e-9);
    EXPECT_DOUBLE_EQ(m.powerPerMetre(120.0), 30.0);
}

} // namespace
} // namespace quorvane::probesim
