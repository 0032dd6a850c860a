// The forward model of a real probe: Bullard's cylinder for the friction and the heater, the
// offsets, the pull-outs and the water between penetrations.

#include "BullardQuadrature.h"
#include "ForwardModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace quorvane::probesim {
namespace {

using std::numbers::pi;

// A real probe: radius 4.76 mm, α 2, k 0.8 (κ 2.28e-7 m²/s, a²/κ = 99 s).
ModelParameters realProbe() {
    ModelParameters p;
    p.profile.radiusM = 0.00476;
    p.conductivity.fill(0.8);
    return p;
}

double scale(const ModelParameters& p) { // 2ακ/a², 1/s
    const double a = p.profile.radiusM;
    return 2.0 * p.profile.alpha * ForwardModel::diffusivity(p.conductivity[0]) / (a * a);
}

struct PulseCase {
    double sinceS; // after the pulse's middle
    double tolerance;
};

// 20 s at 30 W/m: 600 J/m. Late, the pulse is an instant heating at its middle, and that in
// turn tends to E/(4πk(t − t_h)) (within about 1/(2τ) for α 2).
TEST(CylinderModel, LatePulseResponseTendsToTheLineSources) {
    const ModelParameters p = realProbe();
    const ForwardModel m(p);
    const HeaterSpan pulse{0.0, 20.0, 120.0};
    const double energy = 600.0;
    const double kappa = ForwardModel::diffusivity(0.8);
    const BullardQuadrature bullard(2.0);
    const std::vector<PulseCase> cases = {{2000.0, 0.03}, {20000.0, 0.003}, {200000.0, 3e-4}};
    for (const auto& c : cases) {
        const double t = 10.0 + c.sinceS;
        const double rise = m.heaterRise(0, t, pulse);
        const double instant =
            energy / (4.0 * pi * 0.8) * scale(p) *
            bullard.f(kappa * c.sinceS / (p.profile.radiusM * p.profile.radiusM));
        EXPECT_NEAR(rise / instant, 1.0, 1e-4) << c.sinceS;
        EXPECT_NEAR(rise / (energy / (4.0 * pi * 0.8 * c.sinceS)), 1.0, c.tolerance) << c.sinceS;
    }
    // While heated the rise grows by q/(4πk) per unit of ln t, whatever a and α.
    const HeaterSpan longHeat{0.0, std::nullopt, 120.0};
    const double slope =
        (m.heaterRise(0, 20000.0, longHeat) - m.heaterRise(0, 10000.0, longHeat)) / std::log(2.0);
    EXPECT_NEAR(slope / (30.0 / (4.0 * pi * 0.8)), 1.0, 0.01);
}

// Friction 20 K s at tp 100 s; T2 is heated 10 s late. The excess is finite: A·2ακ/a² at the
// moment of the heating, nothing before it, A/(t − tp − δ) late.
TEST(CylinderModel, FrictionIsFiniteAndStartsAtItsDelay) {
    ModelParameters p = realProbe();
    p.penetrations = {{100.0, std::nullopt}};
    p.frictionAKs.fill(20.0);
    p.frictionDelayS = {0.0, 10.0, 0.0, 0.0, 0.0};
    const ForwardModel m(p);
    const double peak = 20.0 * scale(p);
    EXPECT_NEAR(peak, 0.806, 0.001);
    EXPECT_NEAR(m.frictionExcess(0, 100.0 + 1e-9), peak, 1e-5);
    EXPECT_EQ(m.frictionExcess(1, 105.0), 0.0);
    EXPECT_DOUBLE_EQ(m.temperature(1, 105.0, {}), m.equilibrium(1));
    EXPECT_NEAR(m.frictionExcess(1, 110.0), peak, 1e-12);
    EXPECT_LT(m.frictionExcess(0, 110.0), peak);
    for (double late : {1e5, 1e6}) {
        EXPECT_NEAR(m.frictionExcess(0, 100.0 + late) * late / 20.0, 1.0, 100.0 / late) << late;
        EXPECT_NEAR(m.frictionExcess(1, 110.0 + late) * late / 20.0, 1.0, 100.0 / late) << late;
    }
    EXPECT_EQ(m.frictionExcess(0, 99.0), 0.0);
    EXPECT_NEAR(m.frictionEnergy(0), 4.0 * pi * 0.8 * 20.0, 1e-12);
}

// Offsets ride on every reading: in the water before, in the sediment, and after a pull-out.
TEST(CylinderModel, OffsetsOnEveryReading) {
    ModelParameters p = realProbe();
    p.penetrations = {{100.0, 700.0}};
    const ForwardModel plain(p);
    p.offsetK = {0.01, -0.02, 0.0, 0.003, 0.0};
    const ForwardModel offset(p);
    const std::vector<HeaterSpan> heater = {{400.0, 420.0, 120.0}};
    for (double t : {50.0, 101.0, 410.0, 650.0, 703.0, 2000.0}) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(offset.temperature(i, t, heater) - p.offsetK[std::size_t(i)],
                             plain.temperature(i, t, heater))
                << t << " " << i;
        }
    }
    EXPECT_DOUBLE_EQ(offset.temperature(1, 50.0, heater), 4.0 - 0.02);
}

// Out of the sediment the probe relaxes to the bottom water (5 s); the next penetration
// starts from the water as if it were the first.
TEST(CylinderModel, PullOutRelaxesToTheWaterAndTheNextStartsAfresh) {
    ModelParameters p = realProbe();
    p.penetrations = {{100.0, 1000.0}, {1300.0, std::nullopt}};
    const std::vector<HeaterSpan> heater = {{500.0, 520.0, 120.0}, {1700.0, 1720.0, 120.0}};
    const ForwardModel m(p);
    const double atPullOut = m.temperature(4, 1000.0, heater) - 4.0;
    EXPECT_GT(atPullOut, 0.128);
    EXPECT_NEAR(m.temperature(4, 1005.0, heater) - 4.0, atPullOut * std::exp(-1.0), 1e-12);
    EXPECT_NEAR(m.temperature(4, 1200.0, heater), 4.0, 1e-12);

    ModelParameters fresh = p;
    fresh.penetrations = {{1300.0, std::nullopt}};
    const std::vector<HeaterSpan> second = {heater[1]};
    const ForwardModel alone(fresh);
    for (double t : {1300.5, 1310.0, 1650.0, 1710.0, 2500.0}) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(m.temperature(i, t, heater), alone.temperature(i, t, second)) << t;
        }
    }
}

} // namespace
} // namespace quorvane::probesim
