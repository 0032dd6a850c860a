#include "analysis/ProbeProfile.h"
#include "analysis/ProbeProfileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorvane::analysis {
namespace {

const char* kExample = R"({
  "serial": "0417",
  "sensor_depths_m": [0.0, 0.5, 1.0, 1.5, 2.0],
  "heater_w_per_m_per_level": 0.25,
  "radius_m": 0.001,
  "tilt_deg": 0.0
})";

TEST(ProbeProfile, ReadsTheDocumentedExample) {
    QString error;
    const auto p = ProbeProfile::fromJson(kExample, error);
    ASSERT_TRUE(p) << error.toStdString();
    EXPECT_EQ(p->serial, "0417");
    EXPECT_EQ(p->sensorDepthsM, (std::array<double, 5>{0.0, 0.5, 1.0, 1.5, 2.0}));
    EXPECT_DOUBLE_EQ(p->heaterWPerMPerLevel, 0.25);
    EXPECT_DOUBLE_EQ(p->radiusM, 0.001);
    EXPECT_TRUE(p->tiltEntered);
    EXPECT_FALSE(p->isDefault);
}

TEST(ProbeProfile, RefusesWhatCannotBeAProbe) {
    const std::pair<const char*, const char*> cases[] = {
        {"not json", "probe profile is not JSON"},
        {"[1, 2]", "probe profile is not a JSON object"},
        {R"({"sensor_depths_m": [0, 0.5, 1, 1.5, 2], "heater_w_per_m_per_level": 0.25,
             "radius_m": 0.001})",
         "probe profile: \"serial\" missing or not a string"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5], "heater_w_per_m_per_level": 0.25,
             "radius_m": 0.001})",
         "probe profile: \"sensor_depths_m\" must hold 5 depths"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2, 2.5],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0.001})",
         "probe profile: \"sensor_depths_m\" must hold 5 depths"},
        {R"({"serial": "1", "sensor_depths_m": [0, "a", 1, 1.5, 2], "heater_w_per_m_per_level": 1,
             "radius_m": 0.001})",
         "probe profile: \"sensor_depths_m\" must hold numbers"},
        {R"({"serial": "1", "sensor_depths_m": [-0.5, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0.001})",
         "probe profile: sensor depths must be numbers of 0 m or more"},
        {R"({"serial": "1", "sensor_depths_m": [0, 1, 0.5, 1.5, 2],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0.001})",
         "probe profile: sensor depths must increase from TTop to TBot"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": -0.25, "radius_m": 0.001})",
         "probe profile: heater calibration must be above 0 W/m per level"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": 0.25})",
         "probe profile: \"radius_m\" missing or not a number"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0})",
         "probe profile: radius must be above 0 m"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "tilt_deg": 90})",
         "probe profile: tilt must be from 0 to under 90 degrees"},
        {R"({"serial": "1", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
             "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "tilt_deg": "5"})",
         "probe profile: \"tilt_deg\" missing or not a number"},
    };
    for (const auto& [json, reason] : cases) {
        QString error;
        EXPECT_FALSE(ProbeProfile::fromJson(json, error)) << json;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(reason)))
            << error.toStdString() << " for " << json;
    }
}

TEST(ProbeProfile, TiltLeftOutIsNotEntered) {
    QString error;
    const auto p = ProbeProfile::fromJson(R"({"serial": "9", "sensor_depths_m": [0, 1, 2, 3, 4],
        "heater_w_per_m_per_level": 0.3, "radius_m": 0.002})",
                                          error);
    ASSERT_TRUE(p) << error.toStdString();
    EXPECT_FALSE(p->tiltEntered);
    EXPECT_DOUBLE_EQ(p->tiltDeg, 0.0);
    EXPECT_FALSE(p->toJson().contains("tilt_deg"));
}

TEST(ProbeProfileStore, SavesAndFindsByTheInstrumentsSerial) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProbeProfileStore store(dir.path());
    ProbeProfile p;
    p.serial = QStringLiteral("A-17");
    p.sensorDepthsM = {0.2, 0.7, 1.2, 1.9, 2.4};
    p.heaterWPerMPerLevel = 0.125;
    p.radiusM = 0.0015;
    p.tiltDeg = 12.5;
    QString error;
    ASSERT_TRUE(store.save(p, error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(dir.path() + "/probes/A-17.json"));

    QString note;
    const ProbeProfile back = store.profileFor(QStringLiteral("A-17"), note);
    EXPECT_TRUE(note.isEmpty()) << note.toStdString();
    EXPECT_EQ(back.serial, p.serial);
    EXPECT_EQ(back.sensorDepthsM, p.sensorDepthsM);
    EXPECT_DOUBLE_EQ(back.heaterWPerMPerLevel, p.heaterWPerMPerLevel);
    EXPECT_DOUBLE_EQ(back.radiusM, p.radiusM);
    EXPECT_DOUBLE_EQ(back.tiltDeg, p.tiltDeg);
    EXPECT_FALSE(back.isDefault);
}

TEST(ProbeProfileStore, WithoutAUsableProfileTheDefaultIsGivenAndWhy) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("probes"));
    QFile bad(dir.path() + "/probes/0999.json");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"serial": "0999", "sensor_depths_m": [0, 1, 2], "heater_w_per_m_per_level": 1,
                  "radius_m": 0.001})");
    bad.close();
    const ProbeProfileStore store(dir.path());
    const std::pair<const char*, const char*> cases[] = {
        {"0418", "no probe profile for instrument 0418"},
        {"0999", "probe profile: \"sensor_depths_m\" must hold 5 depths"},
        {"", "no instrument serial to find a probe profile by"},
        {"../x", "no instrument serial to find a probe profile by"},
    };
    for (const auto& [serial, why] : cases) {
        QString note;
        const ProbeProfile p = store.profileFor(QString::fromUtf8(serial), note);
        EXPECT_TRUE(p.isDefault) << serial;
        EXPECT_EQ(note.toStdString(), why);
    }
    QString error;
    ProbeProfile unsafe;
    unsafe.serial = QStringLiteral("a/b");
    EXPECT_FALSE(store.save(unsafe, error));
    ProbeProfile negative;
    negative.serial = QStringLiteral("7");
    negative.radiusM = -1.0;
    EXPECT_FALSE(store.save(negative, error));
    EXPECT_EQ(error, "probe profile: radius must be above 0 m");
}

} // namespace
} // namespace quorvane::analysis
