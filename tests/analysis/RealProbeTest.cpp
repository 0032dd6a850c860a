#include "SimulatedFiles.h"
#include "analysis/ProbeProfile.h"
#include "analysis/Reduction.h"
#include "analysis/ResultsJson.h"
#include "analysis/batch/AnalyzeCommand.h"
#include "analysis/batch/DataFileRecords.h"
#include "datafile/DataFileReader.h"
#include "station/CruiseTable.h"
#include "station/StationFileStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace quorvane::analysis {
namespace {

using test::SimulatedFiles;

double seconds(const QJsonValue& utc) {
    return ResultsJson::parseUtc(utc.toString()).value_or(std::nan(""));
}

ProbeProfile thickProbe() {
    ProbeProfile p;
    p.serial = QStringLiteral("0512");
    p.sensorDepthsM = {0.1, 0.6, 1.1, 1.6, 2.1};
    p.radiusM = 0.00476;
    p.alpha = 2.0;
    p.tiltDeg = 0.0;
    return p;
}

class RealProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_files.ready()) {
            GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
        }
        m_probe = m_files.path(QStringLiteral("thick.probe.json"));
        QFile file(m_probe);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(thickProbe().toJson());
    }
    // A lowering at 10 s records as real probes make it: five records in the water, a pulse of
    // two records after seven minutes.
    QStringList real(const QString& seed) const {
        return {"--probe",      m_probe, "--interval", "10",  "--heat-time", "20",
                "--heat-level", "120",   "--gradient", "0.1", "--friction",  "40",
                "--noise",      "0.001", "--seed",     seed};
    }
    StationRecords records(const QString& name) const {
        std::string error;
        const auto content = DataFileReader::readFile(m_files.path(name).toStdString(), &error);
        EXPECT_TRUE(content) << error;
        QStringList notes;
        return content ? DataFileRecords::station(*content, name, notes) : StationRecords();
    }

    SimulatedFiles m_files;
    QString m_probe;
};

// Three penetrations of one lowering, each with its own pulse, pulled out in between: each is
// found and reduced on its own, with its own truth.
TEST_F(RealProbeTest, EachPenetrationOfOneLoweringIsReducedOnItsOwn) {
    QJsonObject truth;
    QString error;
    ASSERT_TRUE(
        m_files.write("three.log",
                      real("7") + QStringList{"--duration", "5400", "--penetration", "50,1900,3750",
                                              "--pull-out", "1750,3600", "--heat-delay",
                                              "470,2320,4170", "--conductivity", "0.9"},
                      truth, error))
        << error.toStdString();
    QJsonObject ignored;
    std::string err;
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(AnalyzeCommand().run(
                  {"--analyze", m_files.path("three.log"), "--probe", m_probe, "--stations"}, out,
                  errors),
              0)
        << errors.str();
    const QJsonArray stations =
        QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).array();
    const QJsonArray trueStations = truth["penetrations"].toArray();
    ASSERT_EQ(stations.size(), 3);
    ASSERT_EQ(trueStations.size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject r = stations[i].toObject();
        const QJsonObject t = trueStations[i].toObject();
        EXPECT_EQ(r["run"].toInt(), 1);
        EXPECT_EQ(r["penetration"].toInt(), i + 1);
        EXPECT_EQ(r["station_index"].toInt(), i + 1);
        EXPECT_DOUBLE_EQ(seconds(r["penetration_utc"]), seconds(t["t_p"]));
        EXPECT_DOUBLE_EQ(seconds(r["heater"].toObject()["on_utc"]), seconds(t["t_on"]));
        EXPECT_NEAR(r["gradient_k_per_m"].toDouble(), 0.1, 0.002);
        EXPECT_NEAR(r["mean_k_w_per_m_k"].toDouble(), 0.9, 0.9 * 0.03);
        EXPECT_NEAR(r["heat_flow_mw_per_m2"].toDouble(), truth["heat_flow_mw_per_m2"].toDouble(),
                    truth["heat_flow_mw_per_m2"].toDouble() * 0.05);
        EXPECT_NEAR(r["bottom_water_c"].toDouble(), truth["bottom_water_c"].toDouble(), 0.002);
    }
    // --station N prints the one; without it, the last, said in the flags.
    std::ostringstream one;
    ASSERT_EQ(AnalyzeCommand().run(
                  {"--analyze", m_files.path("three.log"), "--probe", m_probe, "--station", "2"},
                  one, errors),
              0);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(one.str())).object(),
              stations[1].toObject());
    std::ostringstream last;
    ASSERT_EQ(AnalyzeCommand().run({"--analyze", m_files.path("three.log"), "--probe", m_probe},
                                   last, errors),
              0);
    const QJsonObject lastOne =
        QJsonDocument::fromJson(QByteArray::fromStdString(last.str())).object();
    EXPECT_EQ(lastOne["penetration"].toInt(), 3);
    EXPECT_TRUE(lastOne["flags"].toArray().contains(
        "run holds 3 penetrations: the last one is reduced (--stations lists them all)"));
    std::ostringstream none;
    std::ostringstream why;
    EXPECT_EQ(AnalyzeCommand().run(
                  {"--analyze", m_files.path("three.log"), "--probe", m_probe, "--station", "4"},
                  none, why),
              2);
    EXPECT_NE(why.str().find("holds 3 penetration(s)"), std::string::npos) << why.str();
}

// The station file keeps the operator's choices and the description: --analyze takes them
// (unless told not to), gives the same bytes every time, and adds the row to a cruise table.
TEST_F(RealProbeTest, TheStationFileAndTheCruiseTable) {
    QJsonObject truth;
    QString error;
    ASSERT_TRUE(m_files.write(
        "two.log",
        real("11") + QStringList{"--duration", "3700", "--penetration", "50,1900", "--pull-out",
                                 "1750", "--heat-delay", "470,2320", "--conductivity", "1.0"},
        truth, error))
        << error.toStdString();
    const QString data = m_files.path("two.log");
    station::StationFile file;
    station::StationDescription description;
    description.cruise = QStringLiteral("SO-300");
    description.station = QStringLiteral("HF-07");
    description.latitudeDeg = -33.5;
    description.longitudeDeg = 172.25;
    description.waterDepthM = 3120.0;
    file.setCommon(description);
    station::StationChoices choices;
    choices.excluded[QStringLiteral("T3")] = {station::StationChoices::Exclusion::Gradient,
                                              QStringLiteral("cracked")};
    file.setChoices({1, 2}, choices);
    ASSERT_TRUE(station::StationFileStore::save(file, station::StationFile::pathFor(data), error))
        << error.toStdString();

    auto analyze = [&](QStringList extra, std::string& text) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = AnalyzeCommand().run(
            QStringList{"--analyze", data, "--probe", m_probe, "--station", "2"} + extra, out, err);
        text = out.str();
        return status;
    };
    std::string first;
    std::string again;
    std::string ignored;
    ASSERT_EQ(analyze({}, first), 0);
    ASSERT_EQ(analyze({}, again), 0);
    EXPECT_EQ(first, again);
    const QJsonObject r = QJsonDocument::fromJson(QByteArray::fromStdString(first)).object();
    EXPECT_EQ(r["gradient_sensors"].toArray(), (QJsonArray{"TTop", "T2", "T4", "TBot"}));
    EXPECT_EQ(r["sensors"].toArray()[2].toObject()["excluded"].toArray(), QJsonArray{"gradient"});
    EXPECT_EQ(r["station"].toObject()["station"].toString(), "HF-07");
    ASSERT_EQ(analyze({"--ignore-station-file"}, ignored), 0);
    const QJsonObject plain = QJsonDocument::fromJson(QByteArray::fromStdString(ignored)).object();
    EXPECT_EQ(plain["gradient_sensors"].toArray().size(), 5);
    EXPECT_FALSE(plain.contains("station"));

    const QString table = m_files.path("cruise.csv");
    std::string added;
    ASSERT_EQ(analyze({"--add-to-table", table}, added), 0);
    ASSERT_EQ(analyze({"--add-to-table", table}, added), 0); // the same row replaced
    QString why;
    const auto cruise = station::CruiseTable::read(table, why);
    ASSERT_TRUE(cruise) << why.toStdString();
    ASSERT_EQ(cruise->rows().size(), 1);
    EXPECT_EQ(cruise->rows().front().text("station"), "HF-07");
    EXPECT_EQ(cruise->rows().front().text("heat_flow_mw_per_m2").toDouble(),
              r["heat_flow_mw_per_m2"].toDouble());

    // A station file that cannot be read stops the reduction rather than dropping the choices.
    QFile broken(station::StationFile::pathFor(data));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{ not json");
    broken.close();
    std::string refused;
    EXPECT_EQ(analyze({}, refused), 2);
    EXPECT_EQ(analyze({"--ignore-station-file"}, refused), 0);
}

// A thermistor that warms by a drift the model does not know fits badly: flagged, and the
// station never reads better than "acceptable", whatever its formal errors say.
TEST_F(RealProbeTest, AMisfitCapsTheQualityAtAcceptable) {
    QJsonObject truth;
    QString error;
    ASSERT_TRUE(
        m_files.write("drift.log",
                      real("8") + QStringList{"--duration", "1970", "--penetration", "50",
                                              "--heat-delay", "470", "--conductivity", "1.0"},
                      truth, error))
        << error.toStdString();
    const StationRecords clean = records("drift.log");
    StationRecords drifting;
    drifting.logIntervalS = clean.logIntervalS;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        std::array<double, 5> t{};
        for (std::size_t s = 0; s < 5; ++s) {
            t[s] = clean.temperatureC(s)[i];
        }
        // T3 warms by 3 mK a minute from the penetration on.
        t[2] += std::max(0.0, clean.timeS()[i] - clean.timeS()[5]) * 0.003 / 60.0;
        drifting.append(clean.timeS()[i], t, clean.heater()[i]);
    }
    for (const bool drift : {false, true}) {
        SCOPED_TRACE(drift ? "drifting" : "clean");
        Reduction reduction(thickProbe());
        reduction.setRecords(drift ? drifting : clean);
        const auto r = reduction.results();
        ASSERT_FALSE(r.quality.isEmpty());
        EXPECT_EQ(r.sensors[2].misfit, drift);
        if (drift) {
            EXPECT_TRUE(r.quality == "acceptable" || r.quality == "poor")
                << r.quality.toStdString();
            EXPECT_TRUE(r.sensors[2].flags.contains("decay fit: RMS misfit above 5 mK"));
        } else {
            EXPECT_EQ(r.quality, "excellent");
            EXPECT_TRUE(r.qualityCap.isEmpty());
        }
    }
}

// Thermistors that read off by tens of millikelvins: the records in the water before the
// penetration give each one's offset, which calibration takes off.
TEST_F(RealProbeTest, CalibrationAgainstTheBottomWater) {
    QJsonObject truth;
    QString error;
    ASSERT_TRUE(
        m_files.write("offsets.log",
                      real("9") + QStringList{"--duration", "1970", "--penetration", "100",
                                              "--heat-delay", "520", "--conductivity", "1.2",
                                              "--offsets", "0.012,-0.03,0.07,0.0,-0.052"},
                      truth, error))
        << error.toStdString();
    const std::array<double, 5> offsets{0.012, -0.03, 0.07, 0.0, -0.052};
    const double mean = (0.012 - 0.03 + 0.07 + 0.0 - 0.052) / 5.0;
    for (const bool calibrate : {false, true}) {
        SCOPED_TRACE(calibrate ? "calibrated" : "as read");
        std::ostringstream out;
        std::ostringstream err;
        QStringList args{"--analyze", m_files.path("offsets.log"), "--probe", m_probe};
        if (calibrate) {
            args << "--calibrate-bottom-water";
        }
        ASSERT_EQ(AnalyzeCommand().run(args, out, err), 0) << err.str();
        const QJsonObject r =
            QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
        const QJsonArray sensors = r["sensors"].toArray();
        const QJsonArray trueSensors = truth["sensors"].toArray();
        ASSERT_EQ(r.contains("calibration_offsets_c"), calibrate);
        const QJsonArray found = r["calibration_offsets_c"].toArray();
        for (int i = 0; i < 5; ++i) {
            const double tEq = sensors[i].toObject()["t_eq_c"].toDouble();
            const double trueTEq = trueSensors[i].toObject()["t_eq_c"].toDouble();
            if (calibrate) {
                EXPECT_NEAR(found[i].toDouble(), offsets[static_cast<std::size_t>(i)] - mean,
                            0.001);
                EXPECT_NEAR(tEq, trueTEq + mean, 0.004);
            } else {
                EXPECT_NEAR(tEq, trueTEq + offsets[static_cast<std::size_t>(i)], 0.004);
            }
        }
        EXPECT_EQ(r["flags"].toArray().contains("calibration offset above 50 mK: T3, TBot"),
                  calibrate);
        EXPECT_NEAR(r["bottom_water_c"].toDouble(), truth["bottom_water_c"].toDouble() + mean,
                    0.001);
    }
}

// A penetration without a heater takes k from the operator, and says so; the heat flow is then
// given, its quality capped for want of k's error.
TEST_F(RealProbeTest, AStationWithoutAHeaterTakesTheOperatorsConductivity) {
    QJsonObject truth;
    QString error;
    ASSERT_TRUE(
        m_files.write("noheat.log",
                      real("10") + QStringList{"--duration", "1200", "--penetration", "50",
                                               "--heat-delay", "none", "--conductivity", "0.9"},
                      truth, error))
        << error.toStdString();
    for (const QString& k : {QStringLiteral("0.9"), QStringLiteral("0.9,0.9,0.9,0.9,0.9")}) {
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(AnalyzeCommand().run({"--analyze", m_files.path("noheat.log"), "--probe", m_probe,
                                        "--conductivity", k},
                                       out, err),
                  0)
            << err.str();
        const QJsonObject r =
            QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
        EXPECT_EQ(r["sensors"].toArray()[0].toObject()["k_method"].toString(), "entered");
        EXPECT_TRUE(r["flags"].toArray().contains("k entered by the operator for TTop, T2, T3, "
                                                  "T4, TBot"));
        EXPECT_NEAR(r["heat_flow_mw_per_m2"].toDouble(), truth["heat_flow_mw_per_m2"].toDouble(),
                    truth["heat_flow_mw_per_m2"].toDouble() * 0.03);
        EXPECT_EQ(r["quality"].toString(), "acceptable");
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(AnalyzeCommand().run(
                  {"--analyze", m_files.path("noheat.log"), "--conductivity", "0.9,1.0"}, out, err),
              2);
}

} // namespace
} // namespace quorvane::analysis
