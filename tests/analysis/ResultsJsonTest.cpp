#include "analysis/ResultsJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <clocale>

namespace quorvane::analysis {
namespace {

ReductionResults example() {
    ReductionResults r;
    r.run = 1;
    r.penetration = 2;
    r.stationIndex = 2;
    r.file = QStringLiteral("run1.log");
    r.records = 1800;
    r.logIntervalS = 1.0;
    r.penetrationS = 1796734805.0; // 2026-12-08T13:00:05Z
    r.penetrationSeen = true;
    r.bottomWaterC = 4.098765;
    r.calibrationOffsetsC = std::array<double, 5>{0.01234, -0.002, 0.0, -0.01034, 0.0};
    r.tiltDeg = 3.5;
    r.heater.onS = 1796735225.0;
    r.heater.offS = 1796735825.5;
    r.heater.level = 120;
    r.heater.qWPerM = 30.0;
    const char* names[] = {"TTop", "T2", "T3", "T4", "TBot"};
    for (std::size_t i = 0; i < 5; ++i) {
        auto& s = r.sensors[i];
        s.name = QString::fromLatin1(names[i]);
        s.depthM = 0.5 * static_cast<double>(i);
        s.recordsDecay = 252;
        s.tEqC = 4.123412;
        s.tEqErrC = 0.000412;
        s.kWPerMK = 1.05249;
        s.kErrWPerMK = 0.006049;
        s.kMethod = QStringLiteral("heating-slope");
        s.decayMethod = QStringLiteral("bullard-F");
        s.decayDelayS = 12.345;
        s.kCoolingWPerMK = 1.0491;
        s.fitRmsC = 0.00061;
    }
    r.sensors[4].tEqC.reset();
    r.sensors[4].tEqErrC.reset();
    r.sensors[4].flags << QStringLiteral("thermistor stuck");
    r.gradientKPerM = 0.064123;
    r.gradientErrKPerM = 0.00123;
    r.heatFlowMWPerM2 = 67.4049;
    r.heatFlowErrMWPerM2 = 1.949;
    r.gradientSensorNames = QStringList{"TTop", "T2", "T3", "T4"};
    r.harmonicMeanKWPerMK = 1.05249;
    r.harmonicMeanKErrWPerMK = 0.0027;
    r.kSensorNames = QStringList{"TTop", "T2", "T3", "T4", "TBot"};
    r.heatFlowBullardMWPerM2 = 67.2;
    r.heatFlowBullardErrMWPerM2 = 2.0512;
    r.relativeUncertainty = 0.028915;
    r.quality = QStringLiteral("acceptable");
    r.qualityCap = QStringLiteral("capped at acceptable: the default probe profile");
    return r;
}

// The results as ANALYSIS.md shows them, values rounded as the reduction writes them.
const char* kExpected = R"({
  "run": 1, "penetration": 2, "station_index": 2,
  "file": "run1.log", "records": 1800, "bad_lines": 0, "log_interval_s": 1,
  "penetration_utc": "2026-12-08T13:00:05Z", "penetration_seen": true,
  "bottom_water_c": 4.0988, "calibration_offsets_c": [0.0123, -0.002, 0, -0.0103, 0],
  "tilt_deg": 3.5,
  "heater": {"on_utc": "2026-12-08T13:07:05Z", "off_utc": "2026-12-08T13:17:05.500Z",
             "level": 120, "q_w_per_m": 30.0},
  "sensors": [
    {"name": "TTop", "depth_m": 0.0, "records_decay": 252,
     "decay_method": "bullard-F", "decay_delay_s": 12.3, "t_eq_c": 4.1234, "t_eq_err_c": 0.00041,
     "k_w_per_m_k": 1.052, "k_err_w_per_m_k": 0.006, "k_method": "heating-slope",
     "k_cooling_w_per_m_k": 1.049, "fit_rms_c": 0.00061, "excluded": [], "flags": []},
    {"name": "T2", "depth_m": 0.5, "records_decay": 252,
     "decay_method": "bullard-F", "decay_delay_s": 12.3, "t_eq_c": 4.1234, "t_eq_err_c": 0.00041,
     "k_w_per_m_k": 1.052, "k_err_w_per_m_k": 0.006, "k_method": "heating-slope",
     "k_cooling_w_per_m_k": 1.049, "fit_rms_c": 0.00061, "excluded": [], "flags": []},
    {"name": "T3", "depth_m": 1.0, "records_decay": 252,
     "decay_method": "bullard-F", "decay_delay_s": 12.3, "t_eq_c": 4.1234, "t_eq_err_c": 0.00041,
     "k_w_per_m_k": 1.052, "k_err_w_per_m_k": 0.006, "k_method": "heating-slope",
     "k_cooling_w_per_m_k": 1.049, "fit_rms_c": 0.00061, "excluded": [], "flags": []},
    {"name": "T4", "depth_m": 1.5, "records_decay": 252,
     "decay_method": "bullard-F", "decay_delay_s": 12.3, "t_eq_c": 4.1234, "t_eq_err_c": 0.00041,
     "k_w_per_m_k": 1.052, "k_err_w_per_m_k": 0.006, "k_method": "heating-slope",
     "k_cooling_w_per_m_k": 1.049, "fit_rms_c": 0.00061, "excluded": [], "flags": []},
    {"name": "TBot", "depth_m": 2.0, "records_decay": 252,
     "decay_method": "bullard-F", "decay_delay_s": 12.3, "t_eq_c": null, "t_eq_err_c": null,
     "k_w_per_m_k": 1.052, "k_err_w_per_m_k": 0.006, "k_method": "heating-slope",
     "k_cooling_w_per_m_k": 1.049, "fit_rms_c": 0.00061, "excluded": [], "flags": ["thermistor stuck"]}
  ],
  "gradient_k_per_m": 0.06412, "gradient_err_k_per_m": 0.0012,
  "gradient_sensors": ["TTop", "T2", "T3", "T4"],
  "mean_k_w_per_m_k": 1.052, "mean_k_err_w_per_m_k": 0.0027,
  "k_sensors": ["TTop", "T2", "T3", "T4", "TBot"],
  "heat_flow_mw_per_m2": 67.4, "heat_flow_err_mw_per_m2": 1.9,
  "heat_flow_bullard_mw_per_m2": 67.2, "heat_flow_bullard_err_mw_per_m2": 2.1,
  "relative_uncertainty": 0.029,
  "quality": "acceptable", "quality_cap": "capped at acceptable: the default probe profile",
  "flags": []
})";

TEST(ResultsJson, KeysNestingAndValuesAsDocumented) {
    const QJsonObject expected = QJsonDocument::fromJson(kExpected).object();
    ASSERT_FALSE(expected.isEmpty());
    const QJsonObject actual = ResultsJson::toObject(example());
    auto keys = [](const QJsonValue& v) { return v.toObject().keys().join(' ').toStdString(); };
    EXPECT_EQ(keys(actual), keys(expected));
    EXPECT_EQ(keys(actual["heater"]), keys(expected["heater"]));
    EXPECT_EQ(keys(actual["sensors"].toArray()[0]), keys(expected["sensors"].toArray()[0]));
    EXPECT_EQ(actual, expected) << ResultsJson::toJson(example()).toStdString();
}

TEST(ResultsJson, TextKeepsTheDocumentedKeyOrder) {
    auto keysInOrder = [](const QByteArray& text) {
        std::vector<std::string> keys;
        const QRegularExpression key(QStringLiteral("\"([a-z_0-9]+)\"\\s*:"));
        for (auto it = key.globalMatch(QString::fromUtf8(text)); it.hasNext();) {
            keys.push_back(it.next().captured(1).toStdString());
        }
        return keys;
    };
    const QByteArray text = ResultsJson::toJson(example());
    EXPECT_EQ(keysInOrder(text), keysInOrder(kExpected)) << text.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(text).object(), ResultsJson::toObject(example()));
}

TEST(ResultsJson, WhatCannotBeComputedIsNull) {
    ReductionResults r;
    r.file = QStringLiteral("empty.log");
    r.flags << QStringLiteral("no records");
    const QJsonObject o = ResultsJson::toObject(r);
    for (const char* key :
         {"run", "penetration", "station_index", "penetration_utc", "bottom_water_c", "tilt_deg",
          "gradient_k_per_m", "gradient_err_k_per_m", "mean_k_w_per_m_k", "mean_k_err_w_per_m_k",
          "heat_flow_mw_per_m2", "heat_flow_err_mw_per_m2", "heat_flow_bullard_mw_per_m2",
          "heat_flow_bullard_err_mw_per_m2", "relative_uncertainty", "quality", "quality_cap"}) {
        EXPECT_TRUE(o[key].isNull()) << key;
    }
    // Offsets only when the thermistors were calibrated against the bottom water.
    EXPECT_FALSE(o.contains("calibration_offsets_c"));
    const QJsonObject heater = o["heater"].toObject();
    EXPECT_TRUE(heater["on_utc"].isNull());
    EXPECT_TRUE(heater["off_utc"].isNull());
    EXPECT_TRUE(heater["q_w_per_m"].isNull());
    const QJsonObject sensor = o["sensors"].toArray()[0].toObject();
    for (const char* key : {"decay_method", "decay_delay_s", "t_eq_c", "t_eq_err_c", "k_w_per_m_k",
                            "k_err_w_per_m_k", "k_method", "k_cooling_w_per_m_k", "fit_rms_c"}) {
        EXPECT_TRUE(sensor[key].isNull()) << key;
    }
    EXPECT_EQ(o["flags"].toArray(), QJsonArray{"no records"});
}

TEST(ResultsJson, NumbersIgnoreTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray json = ResultsJson::toJson(example());
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(json.contains("\"t_eq_c\": 4.1234")) << json.toStdString();
    EXPECT_FALSE(json.contains("4,1234"));
}

TEST(ResultsJson, UtcTimesBothWays) {
    const std::pair<double, const char*> table[] = {
        {1796734805.0, "2026-12-08T13:00:05Z"},
        {1796734804.5, "2026-12-08T13:00:04.500Z"},
        {0.0, "1970-01-01T00:00:00Z"},
    };
    for (const auto& [seconds, text] : table) {
        EXPECT_EQ(ResultsJson::utc(seconds).toStdString(), text);
        EXPECT_EQ(ResultsJson::parseUtc(QString::fromLatin1(text)), seconds);
    }
    EXPECT_EQ(ResultsJson::parseUtc("2026-12-08T13:00:05"), 1796734805.0); // no zone: UTC
    EXPECT_EQ(ResultsJson::parseUtc("2026-12-08T14:00:05+01:00"), 1796734805.0);
    EXPECT_FALSE(ResultsJson::parseUtc("yesterday"));
}

} // namespace
} // namespace quorvane::analysis
