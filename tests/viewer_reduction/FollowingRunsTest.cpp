#include "SimulatedRun.h"
#include "analysis/ProbeProfile.h"
#include "analysis/Reduction.h"
#include "analysis/batch/DataFileRecords.h"
#include "datafile/DataFileReader.h"
#include "datafile/UtcStamp.h"
#include "logging/SystemClock.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ReductionPanel.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quorvane::test {
namespace {

// Two simulated runs, an hour apart, with their penetrations at different times.
class FollowingRunsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = std::make_unique<SimulatedRun>();
        if (!s_run->ready()) {
            return;
        }
        const QStringList common = {"--duration", "1800", "--noise",  "0.0005",
                                    "--friction", "30",   "--serial", "0417"};
        QString error;
        ASSERT_TRUE(s_run->write(
            "a.src", common + QStringList{"--seed", "7", "--start", "2026-12-08T13:00:00Z"}, error))
            << error.toStdString();
        ASSERT_TRUE(
            s_run->write("b.src",
                         common + QStringList{"--seed", "11", "--start", "2026-12-08T14:00:00Z",
                                              "--penetration", "100"},
                         error))
            << error.toStdString();
    }
    static void TearDownTestSuite() { s_run.reset(); }

    void SetUp() override {
        if (!s_run->ready()) {
            GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
        }
        m_window = std::make_unique<ViewerWindow>(m_clock);
        m_attachment = new ReductionAttachment(*m_window, m_settings.path());
        m_window->resize(1400, 900);
        m_window->show();
        m_events = m_settings.filePath(QStringLiteral("QuorvaneEvents.log"));
        QFile(m_events).open(QIODevice::WriteOnly);
        m_window->followProgram(m_events);
    }

    ReductionController& controller() { return m_attachment->controller(); }
    ReductionPanel& panel() { return m_attachment->panel(); }
    QString path(const char* name) const { return m_settings.filePath(QString::fromLatin1(name)); }

    // The program starts a run logging into `file`.
    void startRun(const QString& file) {
        QFile log(m_events);
        ASSERT_TRUE(log.open(QIODevice::Append));
        log.write(QByteArray::fromStdString(eventStampUtc(1796734800)) +
                  ": START RUN. HeatDelay: 480  HeatDuration: 600  PowerLevel: 120  "
                  "LogInterval: 1  Logfile: " +
                  file.toUtf8() + "\r\n");
        log.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->shownFile() == file; }, 10000));
    }

    // The program logs the run of `source` into `file` (after what the file holds), a few
    // records at a time at first, then in bigger pieces; each piece is shown and reduced
    // before the next comes. While no choice was made, the reduction has none.
    void play(const char* source, const QString& file, bool choicesMade = false) {
        QFile in(s_run->path(QString::fromLatin1(source)));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = in.readAll().split('\n');
        QByteArray header;
        QList<QByteArray> records;
        for (const QByteArray& line : lines) {
            if (line.startsWith('#')) {
                header += line + '\n';
            } else if (!line.isEmpty()) {
                records << line + '\n';
            }
        }
        qsizetype done = 0;
        bool first = true;
        while (done < records.size()) {
            const qsizetype piece = done < 100 ? 10 : 300;
            QByteArray bytes = first ? header : QByteArray();
            first = false;
            for (qsizetype i = done; i < std::min(records.size(), done + piece); ++i) {
                bytes += records[i];
            }
            const qint64 shownBefore = m_window->series().recordCount();
            const qsizetype written = std::min(records.size(), done + piece) - done;
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::Append));
            out.write(bytes);
            out.close();
            done += written;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return m_window->series().recordCount() == shownBefore + written &&
                           !controller().pending();
                },
                10000))
                << source << " at record " << done;
            if (!choicesMade) {
                ASSERT_FALSE(controller().options().penetrationS) << source << " at " << done;
                ASSERT_FALSE(controller().options().decayWindowS) << source << " at " << done;
            }
        }
    }

    // The operator picks a penetration and a decay window in the panel.
    void choose() {
        panel().penetrationSpin().setValue(80.0);
        panel().decayFromSpin().setValue(90.0);
        controller().reduceNow();
        ASSERT_TRUE(controller().options().penetrationS);
        ASSERT_TRUE(controller().options().decayWindowS);
        EXPECT_TRUE(panel().penetrationLabel().text().endsWith("(set by the operator)"))
            << panel().penetrationLabel().text().toStdString();
    }

    // The window's reduction is the batch reduction of `file`'s last run, with no choices.
    void expectDefaults(const QString& file, const char* name) {
        controller().reduceNow();
        EXPECT_FALSE(controller().options().penetrationS) << name;
        EXPECT_FALSE(controller().options().decayWindowS) << name;
        std::string why;
        const auto content = DataFileReader::readFile(file.toStdString(), &why);
        ASSERT_TRUE(content) << why;
        QStringList notes;
        analysis::Reduction reduction(analysis::ProbeProfile::defaultProfile());
        reduction.setRecords(analysis::DataFileRecords::station(*content, file, notes));
        const analysis::ReductionResults want = reduction.results();
        const analysis::ReductionResults& got = controller().results();
        EXPECT_EQ(got.records, want.records) << name;
        ASSERT_TRUE(got.penetrationS && want.penetrationS) << name;
        EXPECT_DOUBLE_EQ(*got.penetrationS, *want.penetrationS) << name;
        for (std::size_t s = 0; s < 5; ++s) {
            ASSERT_TRUE(got.sensors[s].tEqC && want.sensors[s].tEqC) << name << " " << s;
            EXPECT_NEAR(*got.sensors[s].tEqC, *want.sensors[s].tEqC, 0.0005) << name << " " << s;
        }
        EXPECT_TRUE(panel().penetrationLabel().text().endsWith("(seen)"))
            << name << ": " << panel().penetrationLabel().text().toStdString();
        // The field shows the new run's penetration.
        EXPECT_NEAR(panel().penetrationSpin().value(),
                    *want.penetrationS - controller().records().timeS().front(), 0.05)
            << name;
    }

    SystemClock m_clock;
    QTemporaryDir m_settings;
    QString m_events;
    std::unique_ptr<ViewerWindow> m_window;
    ReductionAttachment* m_attachment = nullptr;
    static inline std::unique_ptr<SimulatedRun> s_run;
};

TEST_F(FollowingRunsTest, ANewRunInAnotherFileStartsFromTheDefaults) {
    startRun(path("first.log"));
    play("a.src", path("first.log"));
    expectDefaults(path("first.log"), "first run");
    choose();
    startRun(path("second.log"));
    play("b.src", path("second.log"));
    expectDefaults(path("second.log"), "second run");
}

TEST_F(FollowingRunsTest, TheSameFileEmptiedAndWrittenAgainStartsFromTheDefaults) {
    startRun(path("run.log"));
    play("a.src", path("run.log"));
    choose();
    QFile(path("run.log")).resize(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->series().recordCount() == 0; }, 10000));
    play("b.src", path("run.log"));
    expectDefaults(path("run.log"), "rewritten file");
}

TEST_F(FollowingRunsTest, ANewHeaderBlockStartsFromTheDefaults) {
    startRun(path("run.log"));
    play("a.src", path("run.log"));
    choose();
    play("b.src", path("run.log"));
    expectDefaults(path("run.log"), "second header block");
}

// Without any choice, the field of the run before never pins the new run's penetration.
TEST_F(FollowingRunsTest, TwoRunsWithoutChoicesMatchTheBatchReduction) {
    startRun(path("first.log"));
    play("a.src", path("first.log"));
    startRun(path("second.log"));
    play("b.src", path("second.log"));
    expectDefaults(path("second.log"), "second run without choices");
}

} // namespace
} // namespace quorvane::test
