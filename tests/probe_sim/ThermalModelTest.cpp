#include "ThermalModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::probesim {
namespace {

using namespace std::chrono_literals;
using Clock = ThermalModel::Clock;
const Clock::time_point t0{};

ForwardModel inPlace() {
    ModelParameters p;
    return ForwardModel(p);
}

TEST(ThermalModel, GaussianNoiseOfTheGivenSpreadAroundTheModel) {
    ThermalModel quiet(inPlace(), 0.0, 1, t0);
    EXPECT_DOUBLE_EQ(quiet.temperatures(t0 + 10s)[0], 4.0);
    EXPECT_DOUBLE_EQ(quiet.temperatures(t0 + 10s)[4], 4.128);
    ThermalModel noisy(inPlace(), 0.003, 1, t0);
    double sum = 0.0;
    double squares = 0.0;
    const int n = 4000;
    for (int i = 0; i < n; ++i) {
        const double d = noisy.temperatures(t0 + i * 1s)[0] - 4.0;
        sum += d;
        squares += d * d;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.0003);
    EXPECT_NEAR(std::sqrt(squares / n), 0.003, 0.0002);
}

TEST(ThermalModel, TimedHeaterBecomesASpanAndExpiresOnce) {
    ThermalModel m(inPlace(), 0.0, 1, t0);
    m.heaterOn(200, 120s, t0 + 10s);
    EXPECT_EQ(m.level(t0 + 129s), 200);
    EXPECT_FALSE(m.takeExpired());
    EXPECT_EQ(m.level(t0 + 131s), 0);
    EXPECT_TRUE(m.takeExpired());
    EXPECT_FALSE(m.takeExpired());
    ASSERT_EQ(m.heaterSpans().size(), 1u);
    EXPECT_DOUBLE_EQ(m.heaterSpans()[0].onS, 10.0);
    EXPECT_DOUBLE_EQ(*m.heaterSpans()[0].offS, 130.0);
    EXPECT_DOUBLE_EQ(m.heaterSpans()[0].level, 200.0);
}

TEST(ThermalModel, LevelChangesSplitTheHistory) {
    ThermalModel m(inPlace(), 0.0, 1, t0);
    m.setPowerLevel(100, t0 + 5s);
    m.heaterOn(50, 60s, t0 + 20s);  // cuts the open span short
    m.setPowerLevel(0, t0 + 30s);   // and this one
    m.setPowerLevel(300, t0 + 40s); // clamped
    const auto& spans = m.heaterSpans();
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_DOUBLE_EQ(*spans[0].offS, 20.0);
    EXPECT_DOUBLE_EQ(*spans[1].offS, 30.0);
    EXPECT_DOUBLE_EQ(spans[2].onS, 40.0);
    EXPECT_FALSE(spans[2].offS.has_value());
    EXPECT_EQ(m.level(t0 + 50s), 200);
    // Rise while on, and the superposed fall afterwards, from the recorded spans.
    const auto warm = m.noiselessTemperatures(t0 + 29s);
    EXPECT_GT(warm[0], 4.0 + 1.0);
}

TEST(ThermalModel, SameSeedSameReadings) {
    auto run = [](std::uint64_t seed) {
        ThermalModel m(inPlace(), 0.005, seed, t0);
        m.heaterOn(150, 10s, t0 + 1s);
        std::vector<double> out;
        for (int i = 0; i < 30; ++i) {
            for (double t : m.temperatures(t0 + i * 500ms)) {
                out.push_back(t);
            }
        }
        return out;
    };
    EXPECT_EQ(run(42), run(42));
    EXPECT_NE(run(42), run(43));
}

} // namespace
} // namespace quorvane::probesim
