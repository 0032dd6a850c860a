#pragma once

#include "SimulatedRun.h"
#include "analysis/ProbeProfile.h"
#include "analysis/Reduction.h"
#include "analysis/batch/DataFileRecords.h"
#include "station/StationFile.h"
#include "viewer/reduction/ReductionController.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace quorvane::test {

// A simulated 30-minute run with the heater, read once for all tests of a suite, and a
// controller holding its records.
class ReductionFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = std::make_unique<SimulatedRun>();
        if (!s_run->ready()) {
            return;
        }
        QString error;
        auto content =
            s_run->write(QStringLiteral("run30.log"), SimulatedRun::thirtyMinutes(), error);
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
        m_controller = std::make_unique<ReductionController>(profile());
    }

    static analysis::ProbeProfile profile() {
        analysis::ProbeProfile p;
        p.serial = QStringLiteral("0417");
        return p;
    }
    static QString filePath() { return s_run->path(QStringLiteral("run30.log")); }
    static const DataFileContent& content() { return *s_content; }

    void load(ReductionController& controller) const {
        // The choices of another test stay out of this one.
        QFile::remove(station::StationFile::pathFor(filePath()));
        controller.restart(filePath());
        controller.setFileInfo(QStringLiteral("0417"), 1.0, 0);
        controller.append(content().records);
        controller.reduceNow();
    }
    // The library's reduction of the same file, without the viewer.
    static analysis::ReductionResults expected(const analysis::ReductionOptions& options = {}) {
        analysis::Reduction reduction(profile(), options);
        QStringList notes;
        reduction.setRecords(analysis::DataFileRecords::station(content(), filePath(), notes));
        return reduction.results();
    }
    double firstTime() const { return static_cast<double>(content().records.front().utcSeconds); }

    std::unique_ptr<ReductionController> m_controller;
    static inline std::unique_ptr<SimulatedRun> s_run;
    static inline std::unique_ptr<DataFileContent> s_content;
};

} // namespace quorvane::test
