#include "E2eRig.h"
#include "RunSteps.h"
#include "logging/SystemClock.h"
#include "viewer/HeaderPanel.h"
#include "viewer/ReadoutPanel.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"

#include <QProcess>
#include <QScreen>
#include <cstdlib>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// The simulator, the program and the viewer beside it: the viewer follows the program's
// event log, opens the run's data log file at Start Run and shows every record logged,
// with the heater interval shaded.
TEST(ViewerFollowsARun, EveryLoggedRecordIsShownWithTheHeaterInterval) {
    E2eRig rig;
    SystemClock clock;
    ViewerWindow viewer(clock);
    viewer.followProgram(QString::fromStdString(rig.path("QuorvaneEvents.log")));
    RunParameters run;
    run.heatDelay = 1;
    run.heatTime = 2;
    ASSERT_TRUE(startLoggingRun(rig, run));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return viewer.shownFile() == QString::fromStdString(dataFile(rig)); }, 3000));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] {
            return !viewer.series().heaterSpans().empty() &&
                   !viewer.series().heaterSpans().back().open;
        },
        8000));
    finishLoggingRun(rig, 800);
    const std::size_t logged = dataLines(dataFile(rig)).size();
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return viewer.series().recordCount() == static_cast<qint64>(logged); }, 2000))
        << viewer.series().recordCount() << " of " << logged;
    EXPECT_EQ(viewer.badLineCount(), 0);
    EXPECT_EQ(viewer.headers().size(), 1u);
    EXPECT_EQ(viewer.series().heaterSpans()[0].level, 120);
    EXPECT_EQ(viewer.plot().heaterRectCount(), 1);
    EXPECT_EQ(viewer.headerPanel().value(0), "0417");
    EXPECT_TRUE(viewer.windowTitle().contains("following the program"));
}

// The whole screen (or a part of it) as ImageMagick's import sees it on the X server.
bool screenshot(const std::string& file, const QRect& part = {}) {
    QStringList args = {QStringLiteral("-window"), QStringLiteral("root")};
    if (part.isValid()) {
        args << QStringLiteral("-crop")
             << QStringLiteral("%1x%2+%3+%4")
                    .arg(part.width())
                    .arg(part.height())
                    .arg(part.x())
                    .arg(part.y());
    }
    args << QString::fromStdString(file);
    return QProcess::execute(QStringLiteral("import"), args) == 0;
}

// Pictures for a person to look at, taken by scripts/viewer-screenshots.sh under xvfb-run:
// the viewer beside the program during a run with the heater on, then the finished file
// zoomed in on the heater interval. Skipped unless QUORVANE_SCREENSHOT_DIR is set.
TEST(ViewerScreenshots, FollowingARunAndAFinishedFileZoomedIn) {
    const char* folder = std::getenv("QUORVANE_SCREENSHOT_DIR");
    if (!folder || !*folder) {
        GTEST_SKIP() << "set QUORVANE_SCREENSHOT_DIR to take the pictures";
    }
    const std::string out(folder);
    E2eRig rig;
    SystemClock clock;
    ViewerWindow viewer(clock);
    viewer.followProgram(QString::fromStdString(rig.path("QuorvaneEvents.log")));
    RunParameters run;
    run.heatDelay = 20;
    run.heatTime = 20;
    ASSERT_TRUE(startLoggingRun(rig, run));
    QWidget& program = rig.host->window();
    program.move(0, 0);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int left = std::min(program.frameGeometry().width() + 10, screen.width() / 2);
    viewer.setGeometry(left, 30, screen.width() - left - 10, screen.height() - 80);
    viewer.show();
    // Into the heat time, then the picture with the heater on.
    ASSERT_TRUE(E2eRig::runUntil([&] { return viewer.series().recordCount() >= 32; }, 60000));
    E2eRig::run(500);
    EXPECT_TRUE(screenshot(out + "/viewer-following-run.png"));
    ASSERT_TRUE(E2eRig::runUntil([&] { return viewer.series().recordCount() >= 55; }, 60000));
    finishLoggingRun(rig, 800);

    // The finished file, zoomed in on the heater interval, a point picked on each side.
    viewer.openFile(QString::fromStdString(dataFile(rig)));
    ASSERT_FALSE(viewer.series().heaterSpans().empty());
    const RunSeries::HeaterSpan span = viewer.series().heaterSpans().front();
    viewer.plot().setFollow(false);
    viewer.plot().setVisibleRange(span.from - 6, span.to + 8);
    viewer.readout().pick(span.from - 1);
    viewer.readout().pick(span.to);
    viewer.readout().showCursor(span.from + 5);
    program.showMinimized();
    E2eRig::run(800);
    EXPECT_TRUE(screenshot(out + "/viewer-finished-zoomed.png", viewer.frameGeometry()));
}

} // namespace
} // namespace quorvane::e2e
