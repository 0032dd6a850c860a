#include "SimulatedFiles.h"
#include "analysis/ProbeProfile.h"
#include "analysis/ResultsJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace quorvane::analysis {
namespace {

using test::SimulatedFiles;

struct Tolerance {
    double tEqC;
    double k;        // relative
    double gradient; // relative
    double heatFlow; // relative
};

// Temperature layout, 1 s interval, noise 0.5 mK, 1 mm needle, heat 600 s after a 7-minute
// decay: T_eq within 3 mK, k within 2 %, gradient within 2 %, heat flow within 3 %.
constexpr Tolerance kRequired{0.003, 0.02, 0.02, 0.03};
// RawHex: a reading step is about 10 mK near 4 °C (see the README for what was measured).
constexpr Tolerance kRawHex{0.003, 0.03, 0.02, 0.03};

struct Station {
    const char* name;
    double tiltDeg;
    QStringList options;
    Tolerance tolerance;
    const char* kMethod;
};

const QStringList kCommon{"--interval",   "1",   "--duration",  "1800", "--penetration", "60",
                          "--heat-delay", "480", "--heat-time", "600",  "--noise",       "0.0005"};

const Station kStations[] = {
    {"k 1.0, 64 mK/m", 0.0, kCommon + QStringList{"--seed", "1", "--friction", "30"}, kRequired,
     "heating"},
    {"k 0.8, 120 mK/m, tilt 15", 15.0,
     kCommon + QStringList{"--seed", "2", "--conductivity", "0.8", "--gradient", "0.12",
                           "--friction", "20"},
     kRequired, "heating"},
    {"k per thermistor, 50 mK/m", 0.0,
     kCommon + QStringList{"--seed", "3", "--conductivity", "0.7,0.9,1.1,1.3,1.5", "--gradient",
                           "0.05", "--friction", "40,35,30,25,20"},
     kRequired, "heating"},
    {"k 2.5, 30 mK/m, level 200", 5.0,
     kCommon + QStringList{"--seed", "4", "--conductivity", "2.5", "--gradient", "0.03",
                           "--heat-level", "200", "--friction", "15"},
     kRequired, "heating"},
    {"RawHex, k 1.0, 64 mK/m", 0.0,
     kCommon + QStringList{"--seed", "5", "--layout", "rawhex", "--friction", "30"}, kRawHex,
     "heating"},
    {"heat pulse of 20 s, k 1.2",
     0.0,
     QStringList{"--interval",   "1",     "--duration",  "1200", "--penetration",  "60",
                 "--heat-delay", "480",   "--heat-time", "20",   "--noise",        "0.0005",
                 "--radius",     "0.001", "--seed",      "6",    "--conductivity", "1.2",
                 "--heat-level", "200",   "--friction",  "30"},
     {0.003, 0.05, 0.02, 0.05},
     "cooling"},
};

double seconds(const QJsonValue& utc) {
    return ResultsJson::parseUtc(utc.toString()).value_or(std::nan(""));
}

TEST(SimulatedFiles, ReductionMatchesTheSimulatorsTruth) {
    SimulatedFiles files;
    if (!files.ready()) {
        GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
    }
    int n = 0;
    for (const auto& c : kStations) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("station%1.log").arg(++n);
        ProbeProfile profile;
        profile.serial = QStringLiteral("0512");
        profile.sensorDepthsM = {0.1, 0.6, 1.1, 1.6, 2.1};
        profile.heaterWPerMPerLevel = 0.2;
        profile.tiltDeg = c.tiltDeg;
        const QString probe = files.path(name + QStringLiteral(".probe.json"));
        QFile probeFile(probe);
        ASSERT_TRUE(probeFile.open(QIODevice::WriteOnly) && probeFile.write(profile.toJson()) > 0);
        probeFile.close();

        QJsonObject truth;
        QString error;
        ASSERT_TRUE(files.write(name, c.options + QStringList{"--probe", probe}, truth, error))
            << error.toStdString();
        QJsonObject r;
        std::string err;
        ASSERT_EQ(
            SimulatedFiles::analyze({"--analyze", files.path(name), "--probe", probe}, r, err), 0)
            << err;
        EXPECT_TRUE(r["flags"].toArray().isEmpty())
            << QJsonDocument(r["flags"].toArray()).toJson().toStdString();

        EXPECT_TRUE(r["penetration_seen"].toBool());
        EXPECT_DOUBLE_EQ(seconds(r["penetration_utc"]), seconds(truth["t_p"]));
        const QJsonObject heater = r["heater"].toObject();
        EXPECT_DOUBLE_EQ(seconds(heater["on_utc"]), seconds(truth["t_on"]));
        EXPECT_DOUBLE_EQ(seconds(heater["off_utc"]), seconds(truth["t_off"]));
        EXPECT_DOUBLE_EQ(heater["q_w_per_m"].toDouble(), truth["q"].toDouble());

        double worstT = 0.0;
        double worstK = 0.0;
        const QJsonArray sensors = r["sensors"].toArray();
        const QJsonArray trueSensors = truth["sensors"].toArray();
        ASSERT_EQ(sensors.size(), 5);
        for (int i = 0; i < 5; ++i) {
            const QJsonObject s = sensors[i].toObject();
            const QJsonObject t = trueSensors[i].toObject();
            ASSERT_TRUE(s["t_eq_c"].isDouble() && s["k_w_per_m_k"].isDouble())
                << s["name"].toString().toStdString();
            worstT = std::max(worstT, std::abs(s["t_eq_c"].toDouble() - t["t_eq_c"].toDouble()));
            worstK =
                std::max(worstK, std::abs(s["k_w_per_m_k"].toDouble() / t["k"].toDouble() - 1));
            EXPECT_EQ(s["k_method"].toString(), c.kMethod);
        }
        const double gradient = r["gradient_k_per_m"].toDouble();
        const double heatFlow = r["heat_flow_mw_per_m2"].toDouble();
        const double dG = std::abs(gradient / truth["gradient_k_per_m"].toDouble() - 1);
        const double dQ = std::abs(heatFlow / truth["heat_flow_mw_per_m2"].toDouble() - 1);
        EXPECT_LE(worstT, c.tolerance.tEqC);
        EXPECT_LE(worstK, c.tolerance.k);
        EXPECT_LE(dG, c.tolerance.gradient);
        EXPECT_LE(dQ, c.tolerance.heatFlow);
        EXPECT_FALSE(r["quality"].isNull());
        // The figures the README quotes.
        std::printf("accuracy | %s | T_eq %.2f mK | k %.2f %% | gradient %.2f %% | heat flow "
                    "%.2f %% | %s\n",
                    c.name, worstT * 1000, worstK * 100, dG * 100, dQ * 100,
                    r["quality"].toString().toUtf8().constData());
    }
}

} // namespace
} // namespace quorvane::analysis
