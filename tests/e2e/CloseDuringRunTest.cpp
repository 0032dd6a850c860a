// The window closed with its close control during a run while the About box stays open:
// the program lives on for the About box, but nothing of the main window may.
#include "RunSteps.h"
#include "shell/FrmAbout.h"

#include <QAction>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

TEST(CloseDuringARun, WithTheAboutBoxOpenNothingOfTheWindowRunsOn) {
    E2eRig rig;
    RunParameters run;
    run.heatDelay = 2; // falls due while only the About box is open
    run.heatTime = 30;
    ASSERT_TRUE(startLoggingRun(rig, run));
    ASSERT_TRUE(E2eRig::runUntil([&] { return !dataLines(dataFile(rig)).empty(); }, 3000));
    rig.host->window().findChild<QAction*>("mnuAbout")->trigger();
    ASSERT_NE(FrmAbout::instance(), nullptr);

    rig.host->window().close();
    E2eRig::run(300); // the heater off reaches the simulator's log
    const std::vector<std::string> atClose = rig.simulator->commands();
    ASSERT_FALSE(atClose.empty());
    EXPECT_EQ(atClose.back(), "!P00 ");
    const auto dataSize = std::filesystem::file_size(dataFile(rig));
    const std::string events = rig.events();

    E2eRig::run(2500); // past the heat delay and two log intervals
    FrmMain& window = rig.host->window();
    EXPECT_FALSE(window.checkSerialInputTimer().isRunning());
    EXPECT_FALSE(window.oneSecondTimer().isRunning());
    EXPECT_FALSE(window.logIntervalTimer().isRunning());
    EXPECT_FALSE(window.heatDelayTimer().isRunning());
    EXPECT_FALSE(window.heatTimeTimer().isRunning());
    EXPECT_FALSE(window.serialPort().isOpen());
    EXPECT_EQ(rig.simulator->commands(), atClose);
    EXPECT_EQ(std::filesystem::file_size(dataFile(rig)), dataSize);
    EXPECT_EQ(rig.events(), events);

    FrmAbout::instance()->close();
    E2eRig::run(200);
    EXPECT_EQ(rig.simulator->commands(), atClose);
    EXPECT_EQ(countOf(rig.simulator->commands(), "!Q001E 78 "), 0u);
}

} // namespace
} // namespace quorvane::e2e
