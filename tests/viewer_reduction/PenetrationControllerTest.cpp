#include "PenetrationFiles.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace quorvane::test {
namespace {

using PenetrationControllerTest = PenetrationFiles;

// Every penetration is listed and reduced on its own, with what --analyze gives for it.
TEST_F(PenetrationControllerTest, PenetrationsAreFoundAndReducedOneByOne) {
    ReductionController controller(profile());
    load(controller);
    const QList<PenetrationRow> rows = controller.penetrations();
    ASSERT_EQ(rows.size(), 3);
    // The newest is followed.
    EXPECT_EQ(controller.chosenIndex(), 3);
    EXPECT_TRUE(controller.followsNewest());
    const double first = static_cast<double>(s_content->records.front().utcSeconds);
    const double penetrationAfterStart[] = {50.0, 1250.0, 2450.0};
    for (int i = 1; i <= 3; ++i) {
        const PenetrationRow& row = rows[i - 1];
        EXPECT_EQ(row.run, 1);
        EXPECT_EQ(row.penetration, i);
        EXPECT_EQ(row.index, i);
        EXPECT_NEAR(row.penetrationS - first, penetrationAfterStart[i - 1], 1.0) << i;
        controller.choosePenetration(i);
        EXPECT_EQ(controller.chosenIndex(), i);
        EXPECT_EQ(controller.followsNewest(), i == 3);
        EXPECT_EQ(controller.results().stationIndex, i);
        EXPECT_EQ(bytes(controller.jsonFor(i)).toStdString(), analyze(i).toStdString()) << i;
        // The list has the shown one's numbers.
        EXPECT_EQ(controller.penetrations()[i - 1].heatFlowMWPerM2,
                  controller.results().heatFlowMWPerM2);
        EXPECT_EQ(controller.penetrations()[i - 1].quality, controller.results().quality);
    }
    // Each penetration is its own sediment: the heat flows differ from one to the next.
    EXPECT_NE(controller.resultsFor(1).heatFlowMWPerM2, controller.resultsFor(2).heatFlowMWPerM2);
}

// Choices made on one penetration stay with it; a controller that opens the file again gives
// the same bytes, and so does --analyze, which reads the same station file.
TEST_F(PenetrationControllerTest, AReopenedFileGivesByteIdenticalJson) {
    QByteArray before[4];
    {
        ReductionController controller(profile());
        load(controller);
        controller.choosePenetration(2);
        controller.setDecayWindow(ReductionController::Window{120.0, 380.0});
        controller.setPulseWindow(ReductionController::Window{40.0, 200.0});
        controller.setExclusion(2, true, false, QStringLiteral("cracked"));
        controller.setCalibrateBottomWater(true);
        controller.choosePenetration(1);
        controller.setEnteredK(0, 1.1);
        station::StationDescription common;
        common.cruise = QStringLiteral("SO-300");
        common.latitudeDeg = -33.5;
        station::StationDescription own;
        own.penetrationNumber = 4;
        QString error;
        ASSERT_TRUE(controller.setDescriptions({1, 1}, common, own, error)) << error.toStdString();
        ASSERT_TRUE(QFile::exists(controller.stationFilePath()));
        for (int i = 1; i <= 3; ++i) {
            before[i] = bytes(controller.jsonFor(i));
        }
    }
    ReductionController again(profile());
    load(again);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(bytes(again.jsonFor(i)).toStdString(), before[i].toStdString()) << i;
        EXPECT_EQ(analyze(i).toStdString(), before[i].toStdString()) << i;
    }
    EXPECT_TRUE(before[2].contains("\"cracked\""));
    EXPECT_TRUE(before[1].contains("\"SO-300\""));
    EXPECT_TRUE(before[3].contains("\"SO-300\"")); // the description holds for every one
    EXPECT_FALSE(before[3].contains("\"cracked\""));
    const analysis::ReductionOptions second = again.optionsFor(2);
    EXPECT_TRUE(second.calibrateBottomWater);
    EXPECT_TRUE(second.excludeFromGradient[2]);
    EXPECT_FALSE(second.excludeFromK[2]);
    EXPECT_FALSE(again.optionsFor(3).calibrateBottomWater);
}

// The least-squares slope of T_eq against depth over the thermistors not left out.
double slope(const analysis::ReductionResults& r, const std::array<bool, 5>& out) {
    double n = 0, sz = 0, st = 0, szz = 0, szt = 0;
    for (std::size_t s = 0; s < 5; ++s) {
        if (out[s]) {
            continue;
        }
        const double z = r.sensors[s].depthM; // vertical: no tilt entered
        const double t = *r.sensors[s].tEqC;
        n += 1;
        sz += z;
        st += t;
        szz += z * z;
        szt += z * t;
    }
    return (n * szt - sz * st) / (n * szz - sz * sz);
}

TEST_F(PenetrationControllerTest, AnExcludedThermistorChangesTheGradientAsByHand) {
    struct Case {
        const char* name;
        int sensor;
        bool gradient;
        bool k;
    };
    const Case cases[] = {
        {"T3 from the gradient", 2, true, false},
        {"TTop from both", 0, true, true},
        {"TBot from k only", 4, false, true},
    };
    for (const Case& c : cases) {
        QFile::remove(station::StationFile::pathFor(dataPath()));
        ReductionController controller(profile());
        load(controller);
        controller.choosePenetration(2);
        const analysis::ReductionResults all = controller.resultsFor(2);
        controller.setExclusion(c.sensor, c.gradient, c.k, QStringLiteral("drifts"));
        controller.reduceNow();
        const analysis::ReductionResults& r = controller.results();
        std::array<bool, 5> out{};
        out[static_cast<std::size_t>(c.sensor)] = c.gradient;
        ASSERT_TRUE(r.gradientKPerM) << c.name;
        EXPECT_NEAR(*r.gradientKPerM, slope(r, out), 1e-9) << c.name;
        EXPECT_EQ(r.gradientSensorNames.size(), c.gradient ? 4 : 5) << c.name;
        EXPECT_EQ(r.kSensorNames.size(), c.k ? 4 : 5) << c.name;
        // It stays in the table with its own numbers.
        EXPECT_TRUE(r.sensors[static_cast<std::size_t>(c.sensor)].tEqC) << c.name;
        EXPECT_EQ(r.sensors[static_cast<std::size_t>(c.sensor)].excludedReason,
                  QStringLiteral("drifts"))
            << c.name;
        if (!c.gradient) {
            EXPECT_DOUBLE_EQ(*r.gradientKPerM, *all.gradientKPerM) << c.name;
        }
        // Taken back, the station is as before.
        controller.setExclusion(c.sensor, false, false, {});
        controller.reduceNow();
        EXPECT_DOUBLE_EQ(*controller.results().gradientKPerM, *all.gradientKPerM) << c.name;
    }
}

// A station file that cannot be read is said so and never written over, until it is set
// aside; the choices meanwhile are kept then.
TEST_F(PenetrationControllerTest, AStationFileThatCannotBeReadIsReportedAndKept) {
    struct Case {
        const char* name;
        QByteArray content;
        const char* reason; // a part of what the panel says
    };
    const Case cases[] = {
        {"not JSON", "{\"description\": ", "not JSON"},
        {"latitude out of range",
         R"({"format": "quorvane-station", "version": 1, "description": {"latitude_deg": 95}})",
         "latitude"},
    };
    for (const Case& c : cases) {
        const QString path = station::StationFile::pathFor(dataPath());
        for (const QString& f : QDir(s_run->path({})).entryList({"*.station.json*"})) {
            QFile::remove(s_run->path(f));
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        ReductionController controller(profile());
        load(controller);
        EXPECT_TRUE(controller.stationFileRefused()) << c.name;
        EXPECT_TRUE(
            controller.stationFileProblem().contains(QLatin1String(c.reason), Qt::CaseInsensitive))
            << c.name << ": " << controller.stationFileProblem().toStdString();
        controller.setDecayWindow(ReductionController::Window{100.0, 300.0});
        controller.reduceNow();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.content) << c.name;
        file.close();
        // Set aside, the choices made meanwhile are written in a new file.
        QString movedTo;
        QString error;
        ASSERT_TRUE(controller.setStationFileAside(movedTo, error)) << error.toStdString();
        EXPECT_FALSE(controller.stationFileRefused());
        ASSERT_TRUE(QFile(movedTo).open(QIODevice::ReadOnly)) << c.name;
        ReductionController again(profile());
        load(again);
        EXPECT_FALSE(again.stationFileRefused()) << c.name;
        EXPECT_TRUE(again.options().decayWindowS) << c.name;
    }
}

} // namespace
} // namespace quorvane::test
