#include "StationFixtures.h"

#include "station/StationFile.h"
#include "station/StationFileStore.h"
#include "support/GermanLocale.h"

#include <QJsonArray>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorvane::station {
namespace {

using testing::readBytes;
using testing::writeBytes;

StationFile example() {
    StationFile file;
    file.setCommon(testing::knownDescription());
    StationDescription own;
    own.penetrationNumber = 2;
    own.topThermistorDepthM = 0.75;
    file.setOwnDescription({1, 2}, own);

    StationChoices c;
    c.penetrationS = 1796734804.5; // between two records
    c.decayWindowS = StationChoices::Window{12.5, 400.0};
    c.heatingWindowS = StationChoices::Window{180.0, 600.0};
    c.pulseWindowS = StationChoices::Window{-5.0, 320.25};
    c.excluded[QStringLiteral("T3")] = {StationChoices::Exclusion::Both,
                                        QStringLiteral("cracked, reads 0.3 K high")};
    c.excluded[QStringLiteral("TBot")] = {StationChoices::Exclusion::Gradient, {}};
    c.hidden = QStringList{"T3", "TBot"};
    c.enteredKWPerMK[QStringLiteral("T3")] = 1.1;
    c.calibrateBottomWater = true;
    file.setChoices({1, 2}, c);

    StationChoices k;
    k.excluded[QStringLiteral("T2")] = {StationChoices::Exclusion::K, QStringLiteral("no pulse")};
    file.setChoices({1, 1}, k);
    return file;
}

TEST(StationFile, PathBesideTheDataFile) {
    EXPECT_EQ(StationFile::pathFor("/data/cruise/run1.log"), "/data/cruise/run1.log.station.json");
}

TEST(StationFile, ReopenedAndSavedGivesTheSameBytes) {
    QTemporaryDir dir;
    const QString path = StationFile::pathFor(dir.filePath("run1.log"));
    QString error;
    ASSERT_TRUE(StationFileStore::save(example(), path, error)) << error.toStdString();
    const QByteArray first = readBytes(path);

    const auto loaded = StationFileStore::load(path);
    ASSERT_EQ(loaded.state, StationFileStore::State::Read) << loaded.reason.toStdString();
    EXPECT_EQ(loaded.file, example());
    ASSERT_TRUE(StationFileStore::save(loaded.file, path, error));
    EXPECT_EQ(readBytes(path), first);

    // The layout a reader of the file meets.
    const QJsonObject o = QJsonDocument::fromJson(first).object();
    EXPECT_EQ(o.keys(), (QStringList{"description", "format", "penetrations", "version"}));
    EXPECT_EQ(o["format"].toString(), "quorvane-station");
    EXPECT_EQ(o["version"].toInt(), 1);
    const QJsonArray penetrations = o["penetrations"].toArray();
    ASSERT_EQ(penetrations.size(), 2);
    EXPECT_EQ(penetrations[0].toObject()["penetration"].toInt(), 1); // in order
    const QJsonObject second = penetrations[1].toObject();
    EXPECT_EQ(second["description"].toObject()["penetration_number"].toInt(), 2);
    const QJsonObject choices = second["choices"].toObject();
    EXPECT_EQ(choices["penetration_utc"].toString(), "2026-12-08T13:00:04.500Z");
    EXPECT_EQ(choices["windows"].toObject()["decay_s"].toArray(), (QJsonArray{12.5, 400}));
    EXPECT_EQ(choices["excluded"].toObject()["T3"].toObject()["from"].toArray(),
              (QJsonArray{"gradient", "k"}));
    EXPECT_EQ(choices["hidden"].toArray(), (QJsonArray{"T3", "TBot"}));
    StationChoices shuffled;
    shuffled.hidden = QStringList{"TBot", "T3", "TBot"};
    EXPECT_EQ(shuffled.toJson()["hidden"].toArray(), (QJsonArray{"T3", "TBot"})); // top first
    EXPECT_EQ(choices["entered_k_w_per_m_k"].toObject()["T3"].toDouble(), 1.1);
    EXPECT_TRUE(choices["calibrate_bottom_water"].toBool());

    const StationDescription d = loaded.file.descriptionFor({1, 2});
    EXPECT_EQ(d.station, "HF-12");
    EXPECT_EQ(d.topThermistorDepthM, 0.75);
    EXPECT_EQ(d.penetrationNumber, 2);
}

TEST(StationFile, KeysItDoesNotKnowAreKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run1.log.station.json");
    const QByteArray written = R"({
    "description": {"cruise": "SO-280", "vessel": "Sonne"},
    "format": "quorvane-station",
    "operator": "night watch",
    "penetrations": [{"choices": {"calibrate_bottom_water": true, "smoothing": 3},
                      "penetration": 1, "run": 1, "winch": "B"}],
    "version": 1
})";
    writeBytes(path, written);
    auto loaded = StationFileStore::load(path);
    ASSERT_EQ(loaded.state, StationFileStore::State::Read) << loaded.reason.toStdString();
    QString error;
    ASSERT_TRUE(StationFileStore::save(loaded.file, path, error));
    const QByteArray saved = readBytes(path);
    for (const char* kept : {"\"vessel\": \"Sonne\"", "\"operator\": \"night watch\"",
                             "\"smoothing\": 3", "\"winch\": \"B\""}) {
        EXPECT_TRUE(saved.contains(kept)) << kept << "\n" << saved.toStdString();
    }
    // And the second save is the first's bytes.
    ASSERT_TRUE(StationFileStore::save(StationFileStore::load(path).file, path, error));
    EXPECT_EQ(readBytes(path), saved);
}

TEST(StationFile, ACorruptFileIsRefusedWithTheReasonAndKept) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"format": "quorvane-station", "version": 1,)", "not JSON"},
        {R"([1, 2])", "not a station file"},
        {R"({"version": 1})", "not a station file"},
        {R"({"format": "quorvane-station", "version": 2})", "written by a newer program"},
        {R"({"format": "quorvane-station", "version": 1,
             "description": {"latitude_deg": 91}})",
         "station description: latitude 91 is outside -90 to 90"},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 1, "penetration": 1,
                               "choices": {"windows": {"decay_s": [400, 12]}}}]})",
         "penetration 1 of run 1: decay window 400 to 12 s does not end after it starts"},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 1, "penetration": 1, "choices": {"hidden": ["T6"]}}]})",
         "no thermistor is called \"T6\""},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 1, "penetration": 1,
                               "choices": {"entered_k_w_per_m_k": {"T3": -1}}}]})",
         "conductivity -1 W/(m·K) entered for T3 is outside 0 to 10"},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 1, "penetration": 1}, {"run": 1, "penetration": 1}]})",
         "penetration 1 of run 1 appears twice"},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 0, "penetration": 1}]})",
         "whole numbers from 1"},
        {R"({"format": "quorvane-station", "version": 1,
             "penetrations": [{"run": 1, "penetration": 1,
                               "choices": {"penetration_utc": "2026-12-08 13:00"}}]})",
         "is not an ISO 8601 UTC time"},
    };
    for (const auto& [json, reason] : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("run1.log.station.json");
        writeBytes(path, json);
        const auto loaded = StationFileStore::load(path);
        EXPECT_EQ(loaded.state, StationFileStore::State::Refused) << json;
        EXPECT_TRUE(loaded.reason.contains(QString::fromUtf8(reason)))
            << loaded.reason.toStdString();
        EXPECT_TRUE(loaded.reason.contains(path)) << loaded.reason.toStdString();

        // Saving does not replace it until it is set aside.
        QString error;
        EXPECT_FALSE(StationFileStore::save(example(), path, error));
        EXPECT_TRUE(error.contains("move it aside")) << error.toStdString();
        EXPECT_EQ(readBytes(path), QByteArray(json));
        QString movedTo;
        ASSERT_TRUE(StationFileStore::setAside(path, movedTo, error));
        EXPECT_EQ(movedTo, path + ".unreadable");
        EXPECT_EQ(readBytes(movedTo), QByteArray(json));
        EXPECT_TRUE(StationFileStore::save(example(), path, error)) << error.toStdString();
    }
}

TEST(StationFile, MissingIsTheDefaultsAndRefusedValuesAreNotWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run1.log.station.json");
    const auto loaded = StationFileStore::load(path);
    EXPECT_EQ(loaded.state, StationFileStore::State::Missing);
    EXPECT_TRUE(loaded.file.choicesFor({1, 1}).isDefault());
    EXPECT_TRUE(loaded.file.descriptionFor({1, 1}).isEmpty());

    StationFile file;
    StationDescription d;
    d.waterDepthM = -10.0;
    file.setOwnDescription({1, 3}, d);
    QString error;
    EXPECT_FALSE(StationFileStore::save(file, path, error));
    EXPECT_EQ(error.toStdString(), "penetration 3 of run 1: water depth -10 m is negative");
    EXPECT_FALSE(QFile::exists(path));

    // Choices set back to the defaults leave nothing behind for the penetration.
    file = example();
    file.setChoices({1, 1}, StationChoices{});
    EXPECT_EQ(file.penetrations(), (QList<PenetrationKey>{{1, 2}}));
}

class StationFileGermanLocale : public quorvane::testing::UnderGermanLocale<> {};

TEST_F(StationFileGermanLocale, NumbersKeepTheirDecimalPoint) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    const QString path = dir.filePath("run1.log.station.json");
    QString error;
    const bool saved = StationFileStore::save(example(), path, error);
    const auto loaded = StationFileStore::load(path);
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(saved);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("-23.5")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("320.25"));
    EXPECT_FALSE(bytes.contains("23,5"));
    EXPECT_EQ(loaded.file, example());
}

} // namespace
} // namespace quorvane::station
