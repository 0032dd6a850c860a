#include "RunSteps.h"

#include "analysis/batch/AnalyzeCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <cmath>
#include <sstream>

namespace quorvane::e2e {
namespace {

// The program logs a short run from the simulator (already in the sediment, heater on after
// 7 s for 3 s); the batch reduction then reads the program's own file. A run of seconds
// proves the path, not the accuracy (the simulated files do that).
TEST(ReductionOfARun, TheProgramsFileIsReducedToSaneResults) {
    E2eRig rig({"--penetration", "none", "--noise", "0.0005", "--conductivity", "1.0"});
    RunParameters run;
    run.heatDelay = 7;
    run.heatTime = 3;
    run.logTemperature = true;
    ASSERT_TRUE(startLoggingRun(rig, run));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return rig.view().StatusBar1[6]->text() == "Running - Heater ON"; }, 8000));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return rig.view().StatusBar1[6]->text() == "Running - Heater OFF"; }, 6000));
    E2eRig::run(3500);
    finishLoggingRun(rig, 600);

    std::ostringstream out;
    std::ostringstream err;
    const int status = analysis::AnalyzeCommand().run(
        {"--analyze", QString::fromStdString(dataFile(rig))}, out, err);
    ASSERT_EQ(status, 0) << err.str();
    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    ASSERT_FALSE(r.isEmpty()) << out.str();
    EXPECT_EQ(r["file"].toString(), "run.log");
    EXPECT_GE(r["records"].toInt(), 8);
    EXPECT_EQ(r["bad_lines"].toInt(), 0);
    EXPECT_EQ(r["log_interval_s"].toDouble(), 1.0);
    EXPECT_FALSE(r["penetration_seen"].toBool());
    const QJsonObject heater = r["heater"].toObject();
    EXPECT_TRUE(heater["on_utc"].isString());
    EXPECT_TRUE(heater["off_utc"].isString());
    EXPECT_EQ(heater["level"].toInt(), 120);
    EXPECT_DOUBLE_EQ(heater["q_w_per_m"].toDouble(), 30.0);
    const QJsonArray flags = r["flags"].toArray();
    EXPECT_TRUE(flags.contains("penetration not seen"));
    EXPECT_TRUE(flags.contains("default probe profile"));

    // Equilibrium temperatures near the simulator's 4 °C + 64 mK/m · z, where there are any;
    // every null has its reason.
    const QJsonArray sensors = r["sensors"].toArray();
    ASSERT_EQ(sensors.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const QJsonObject s = sensors[i].toObject();
        const double expected = 4.0 + 0.064 * s["depth_m"].toDouble();
        if (s["t_eq_c"].isDouble()) {
            EXPECT_NEAR(s["t_eq_c"].toDouble(), expected, 0.05) << out.str();
        } else {
            EXPECT_FALSE(s["flags"].toArray().isEmpty());
        }
        if (s["k_w_per_m_k"].isDouble()) {
            // The live heater switches within a record of the column's change: a 3 s pulse
            // gives k to a factor of a few, no more.
            EXPECT_GT(s["k_w_per_m_k"].toDouble(), 0.2);
            EXPECT_LT(s["k_w_per_m_k"].toDouble(), 5.0);
        } else {
            EXPECT_FALSE(s["flags"].toArray().isEmpty());
        }
    }
}

} // namespace
} // namespace quorvane::e2e
