#include "ThermalModel.h"

#include <gtest/gtest.h>

namespace quorvane::probesim {
namespace {

using namespace std::chrono_literals;
using Clock = ThermalModel::Clock;
const Clock::time_point t0{};

TEST(ThermalModel, RestsAtAmbientWithinTheNoise) {
    ThermalModel quiet(4.0, 0.0, 1, t0);
    for (double t : quiet.temperatures(t0 + 10s)) {
        EXPECT_DOUBLE_EQ(t, 4.0);
    }
    ThermalModel noisy(4.0, 0.003, 1, t0);
    bool varied = false;
    for (int i = 0; i < 200; ++i) {
        for (double t : noisy.temperatures(t0 + i * 1s)) {
            EXPECT_LE(std::fabs(t - 4.0), 0.003);
            varied = varied || t != 4.0;
        }
    }
    EXPECT_TRUE(varied);
}

TEST(ThermalModel, HeaterRaisesEachChannelByItsOwnResponseThenItDecays) {
    ThermalModel m(4.0, 0.0, 1, t0);
    m.heaterOn(200, 120s, t0);
    const auto early = m.noiselessTemperatures(t0 + 5s);
    const auto late = m.noiselessTemperatures(t0 + 119s);
    const auto channels = ThermalModel::defaultChannels();
    for (int i = 0; i < ThermalModel::kChannels; ++i) {
        EXPECT_GT(early[i], 4.0 + 0.1) << i;
        EXPECT_GT(late[i], early[i]) << i;
        // More than ten time constants on: at the channel's full-power rise.
        EXPECT_NEAR(late[i], 4.0 + channels[i].gainAtFullPower, 1e-3) << i;
    }
    EXPECT_NE(early[0] - 4.0, early[2] - 4.0);
    EXPECT_EQ(m.level(t0 + 119s), 200);
    EXPECT_FALSE(m.takeExpired());

    const auto after = m.noiselessTemperatures(t0 + 130s);
    EXPECT_EQ(m.level(t0 + 130s), 0);
    EXPECT_TRUE(m.takeExpired());
    const auto cold = m.noiselessTemperatures(t0 + 300s);
    for (int i = 0; i < ThermalModel::kChannels; ++i) {
        EXPECT_LT(after[i], late[i]) << i;
        EXPECT_LT(cold[i], after[i]) << i;
        EXPECT_NEAR(cold[i], 4.0, 1e-3) << i;
    }
}

TEST(ThermalModel, RiseIsProportionalToTheLevel) {
    ThermalModel full(4.0, 0.0, 1, t0);
    ThermalModel half(4.0, 0.0, 1, t0);
    full.setPowerLevel(200, t0);
    half.setPowerLevel(100, t0);
    const auto f = full.noiselessTemperatures(t0 + 7s);
    const auto h = half.noiselessTemperatures(t0 + 7s);
    for (int i = 0; i < ThermalModel::kChannels; ++i) {
        EXPECT_NEAR(h[i] - 4.0, (f[i] - 4.0) / 2.0, 1e-12);
    }
    half.setPowerLevel(0, t0 + 7s);
    EXPECT_LT(half.noiselessTemperatures(t0 + 20s)[2], h[2]);
}

TEST(ThermalModel, SameSeedSameReadings) {
    auto run = [](std::uint64_t seed) {
        ThermalModel m(4.0, 0.005, seed, t0);
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
