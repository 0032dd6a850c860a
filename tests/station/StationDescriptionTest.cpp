#include "StationFixtures.h"

#include "station/StationDescription.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvane::station {
namespace {

TEST(StationDescription, RefusesBadValuesWithTheReason) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        void (*set)(StationDescription&, double);
        double value;
        const char* reason; // empty: accepted
    };
    auto lat = [](StationDescription& d, double v) { d.latitudeDeg = v; };
    auto lon = [](StationDescription& d, double v) { d.longitudeDeg = v; };
    auto depth = [](StationDescription& d, double v) { d.waterDepthM = v; };
    auto length = [](StationDescription& d, double v) { d.probeLengthM = v; };
    auto top = [](StationDescription& d, double v) { d.topThermistorDepthM = v; };
    auto number = [](StationDescription& d, double v) { d.penetrationNumber = int(v); };
    const Case cases[] = {
        {lat, 91.0, "latitude 91 is outside -90 to 90"},
        {lat, -90.5, "latitude -90.5 is outside -90 to 90"},
        {lat, 90.0, ""},
        {lat, -90.0, ""},
        {lat, nan, "latitude is not a number"},
        {lon, 181.0, "longitude 181 is outside -180 to 180"},
        {lon, -180.01, "longitude -180.01 is outside -180 to 180"},
        {lon, 180.0, ""},
        {lon, -180.0, ""},
        {depth, -5.0, "water depth -5 m is negative"},
        {depth, 0.0, ""},
        {length, -1.0, "probe length -1 m is not above 0"},
        {length, 0.0, "probe length 0 m is not above 0"},
        {length, 6.0, ""},
        {top, -0.1, "depth of the top thermistor below the sea floor -0.1 m is negative"},
        {top, 0.0, ""},
        {number, 0.0, "penetration number 0 is not 1 or more"},
        {number, 1.0, ""},
    };
    for (const Case& c : cases) {
        StationDescription d;
        c.set(d, c.value);
        EXPECT_EQ(d.problem().toStdString(), c.reason) << c.value;
        // A file holding the value is refused for the same reason.
        QString error;
        const auto read = StationDescription::fromJson(d.toJson(), error);
        if (*c.reason != '\0' && !std::isnan(c.value)) {
            EXPECT_FALSE(read) << c.reason;
            EXPECT_EQ(error.toStdString(), c.reason);
        }
    }
}

TEST(StationDescription, RefusesValuesOfTheWrongType) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"latitude_deg": "54.1"})", "\"latitude_deg\" must be a number"},
        {R"({"station": 12})", "\"station\" must be text"},
        {R"({"penetration_number": 1.5})", "\"penetration_number\" must be a whole number"},
    };
    for (const auto& [json, reason] : cases) {
        QString error;
        EXPECT_FALSE(StationDescription::fromJson(QJsonDocument::fromJson(json).object(), error));
        EXPECT_EQ(error.toStdString(), reason);
    }
}

TEST(StationDescription, JsonKeysAsAgreedAndBack) {
    StationDescription d = testing::knownDescription();
    d.penetrationNumber = 3;
    const QJsonObject o = d.toJson();
    EXPECT_EQ(o.keys(), (QStringList{"comment", "cruise", "latitude_deg", "longitude_deg",
                                     "penetration_number", "probe_length_m", "probe_type",
                                     "station", "top_thermistor_depth_m", "water_depth_m"}));
    EXPECT_EQ(o["penetration_number"].toDouble(), 3.0);
    QString error;
    EXPECT_EQ(StationDescription::fromJson(o, error), d);

    // Not entered: left out; null, blanks and absent all read as not entered.
    EXPECT_TRUE(StationDescription{}.toJson().isEmpty());
    const auto blank = StationDescription::fromJson(
        QJsonDocument::fromJson(R"({"cruise": "  ", "latitude_deg": null})").object(), error);
    ASSERT_TRUE(blank);
    EXPECT_TRUE(blank->isEmpty());
}

TEST(StationDescription, PenetrationValuesOverrideButTheNumberIsNotInherited) {
    StationDescription common = testing::knownDescription();
    common.penetrationNumber = 1; // one number for all would merge their rows
    StationDescription own;
    own.latitudeDeg = -23.51;
    own.topThermistorDepthM = 1.2;
    own.comment = QStringLiteral("  ");
    const StationDescription d = common.inheritedBy(own);
    EXPECT_EQ(d.cruise, common.cruise);
    EXPECT_EQ(d.latitudeDeg, -23.51);
    EXPECT_EQ(d.longitudeDeg, common.longitudeDeg);
    EXPECT_EQ(d.topThermistorDepthM, 1.2);
    EXPECT_EQ(d.comment, common.comment);
    EXPECT_FALSE(d.penetrationNumber);
    own.penetrationNumber = 2;
    EXPECT_EQ(common.inheritedBy(own).penetrationNumber, 2);
}

} // namespace
} // namespace quorvane::station
