#pragma once

#include "SimulatedRun.h"
#include "analysis/ProbeProfileStore.h"
#include "analysis/ResultsJson.h"
#include "analysis/batch/AnalyzeCommand.h"
#include "station/StationFile.h"
#include "viewer/reduction/ReductionController.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace quorvane::test {

// One lowering with three penetrations, each with its own 20 s pulse, pulled out in between,
// and the probe profile it was simulated with; written once for a suite.
class PenetrationFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = std::make_unique<SimulatedRun>();
        if (!s_run->ready()) {
            return;
        }
        QFile profile(s_run->path(QStringLiteral("probe.json")));
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write(R"({"serial": "0417", "sensor_depths_m": [0.0, 0.5, 1.0, 1.5, 2.0],
            "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "alpha": 2.0})");
        profile.close();
        QString error;
        auto content =
            s_run->write(QStringLiteral("three.log"), {"--probe",        profile.fileName(),
                                                       "--duration",     "3700",
                                                       "--penetration",  "50,1250,2450",
                                                       "--pull-out",     "1150,2350",
                                                       "--heat-delay",   "470,1670,2870",
                                                       "--heat-time",    "20",
                                                       "--noise",        "0.0005",
                                                       "--seed",         "5",
                                                       "--friction",     "20",
                                                       "--conductivity", "0.9"},
                         error);
        ASSERT_TRUE(content) << error.toStdString();
        s_content = std::make_unique<DataFileContent>(std::move(*content));
    }
    static void TearDownTestSuite() {
        s_content.reset();
        s_run.reset();
    }
    void SetUp() override {
        if (!s_content) {
            GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
        }
        // Each test starts without the choices of another.
        QFile::remove(station::StationFile::pathFor(dataPath()));
    }

    static QString dataPath() { return s_run->path(QStringLiteral("three.log")); }
    static QString profilePath() { return s_run->path(QStringLiteral("probe.json")); }
    static analysis::ProbeProfile profile() {
        QString error;
        return *analysis::ProbeProfileStore::readFile(profilePath(), error);
    }

    // The whole file shown, as the window hands it over.
    static void load(ReductionController& controller) {
        controller.restart(dataPath());
        controller.setHeaders(s_content->headers);
        controller.setFileInfo(QStringLiteral("0417"), 1.0, 0);
        controller.append(s_content->records);
        controller.reduceNow();
    }

    // What `quorvane-view --analyze` prints for penetration `index`.
    static QByteArray analyze(int index, const QStringList& more = {}) {
        const QStringList args = QStringList{"--analyze",   dataPath(),  "--probe",
                                             profilePath(), "--station", QString::number(index)} +
                                 more;
        std::ostringstream out;
        std::ostringstream errors;
        const int status = analysis::AnalyzeCommand().run(args, out, errors);
        EXPECT_EQ(status, 0) << errors.str();
        return QByteArray::fromStdString(out.str());
    }
    static QByteArray bytes(const QJsonObject& json) {
        return analysis::ResultsJson::toJson(QJsonValue(json));
    }

    static inline std::unique_ptr<SimulatedRun> s_run;
    static inline std::unique_ptr<DataFileContent> s_content;
};

} // namespace quorvane::test
