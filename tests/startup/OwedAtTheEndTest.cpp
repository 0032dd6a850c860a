// Nothing the run owes is left behind: held data lines reach their file at Finish and at
// the end, a heater-off that could not be sent goes out when the port opens again, and
// what waits on the port or in the box queue at the end is not lost.
#include "RunningRig.h"
#include "platform/Failure.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using testing::contains;
using testing::countOf;
using testing::kDataFile;
using testing::kEventFile;
using testing::kRecord;
using testing::RunningRig;

// The lines held while the data log could not be written reach it at Finish and at the
// end, once it can be written again, and an event says how many.
TEST(HeldLines, FinishAndTheEndTryTheHeldLinesOnceMore) {
    RunningRig r(3600, 3);
    r.startRun();
    r.rig.files.failing.emplace(kDataFile, Failure(30, "Read-only file system"));
    for (int i = 0; i < 2; ++i) {
        r.rig.timeline.advance(1000);
        r.rig.ui.MSComm1.receive(kRecord);
        r.rig.timeline.advance(250);
    }
    ASSERT_EQ(r.controller.dataLog().heldLines(), 2u);

    r.rig.ui.cmdFinish.click();
    EXPECT_EQ(r.rig.events().back().rfind("END RUN.", 0), 0u);
    EXPECT_TRUE(contains(r.rig.events(), "Held data lines: 0 written to " + kDataFile +
                                             ", 2 could not be written."));
    EXPECT_EQ(r.controller.dataLog().heldLines(), 2u);

    r.rig.files.failing.clear();
    r.controller.unload();
    EXPECT_EQ(r.controller.dataLog().heldLines(), 0u);
    const std::string data = r.rig.files.content(kDataFile);
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 11 + 2) << data;
    EXPECT_TRUE(contains(r.rig.events(), "Held data lines: 2 written to " + kDataFile +
                                             ", 0 could not be written."));
}

TEST(HeldLines, FinishWritesThemWhenTheFileCanBeWrittenAgain) {
    RunningRig r(3600, 3);
    r.startRun();
    r.rig.files.failing.emplace(kDataFile, Failure(28, "No space left on device"));
    r.rig.timeline.advance(1000);
    r.rig.ui.MSComm1.receive(kRecord);
    r.rig.timeline.advance(250);
    ASSERT_EQ(r.controller.dataLog().heldLines(), 1u);
    r.rig.files.failing.clear();

    r.rig.ui.cmdFinish.click();
    EXPECT_EQ(r.controller.dataLog().heldLines(), 0u);
    EXPECT_TRUE(contains(r.rig.events(), "Held data lines: 1 written to " + kDataFile +
                                             ", 0 could not be written."));
    r.controller.unload();
    EXPECT_EQ(countOf(r.rig.events(),
                      "Held data lines: 1 written to " + kDataFile + ", 0 could not be written."),
              1u);
}

// The device gone at the heat-time expiry: the heater-off is owed, the status does not say
// the heater is on, and the heater-off goes out first when the port opens again.
TEST(OwedHeaterOff, SentFirstWhenThePortOpensAgain) {
    RunningRig r(2, 3);
    r.startRun();
    r.rig.timeline.advance(2500);
    ASSERT_EQ(r.status(), "Running - Heater ON");
    r.rig.ui.MSComm1.loseDevice("Resource error");
    r.rig.ui.MSComm1.failOpen = Failure(2, "No such file or directory");
    r.rig.timeline.advance(2600); // the expiry at 5 s, and the requests fail
    r.rig.pump.runPosted();
    EXPECT_TRUE(contains(r.rig.events(), "Failed to send heater off command"));
    EXPECT_EQ(r.status().find("Heater ON"), std::string::npos) << r.status();
    EXPECT_FALSE(contains(r.writes(), "!P00 "));

    r.rig.ui.MSComm1.failOpen.reset();
    r.rig.ui.MSComm1.clearWritten();
    r.rig.timeline.advance(1000); // the next data request opens the port
    ASSERT_GE(r.writes().size(), 2u);
    EXPECT_EQ(r.writes()[0], "!P00 ");
    EXPECT_EQ(r.writes()[1], "T");
    EXPECT_TRUE(
        contains(r.rig.events(), "Heater off command sent now that the port is open again."));
    EXPECT_EQ(r.status(), "Running - Heater OFF");
    EXPECT_FALSE(r.controller.flags().heaterOn);

    // Owed once: later openings send nothing more.
    r.rig.ui.MSComm1.close();
    r.rig.ui.MSComm1.clearWritten();
    r.rig.timeline.advance(1000);
    EXPECT_EQ(r.writes(), std::vector<std::string>{"T"});
}

TEST(OwedHeaterOff, AChangeOfPortSendsItAsSoonAsTheNewPortOpens) {
    RunningRig r(2, 3);
    r.startRun();
    r.rig.timeline.advance(2500);
    r.rig.ui.MSComm1.loseDevice("Resource error");
    r.rig.ui.MSComm1.failOpen = Failure(2, "No such file or directory");
    r.rig.ui.cmdFinish.click();
    r.rig.pump.runPosted();
    EXPECT_EQ(r.status().find("Heater ON"), std::string::npos) << r.status();

    r.rig.ui.MSComm1.failOpen.reset();
    r.rig.ui.MSComm1.clearWritten();
    r.controller.menuClicked(SerialMenu::Port, 3);
    ASSERT_FALSE(r.writes().empty());
    EXPECT_EQ(r.writes()[0], "!P00 ");
    const std::vector<std::string> events = r.rig.events();
    const auto sent = std::find(events.begin(), events.end(),
                                "Heater off command sent now that the port is open again.");
    ASSERT_NE(sent, events.end());
    EXPECT_EQ(std::next(sent)->rfind("Configured Serial Port: COM3", 0), 0u);
}

// A record that reached the port just before the end is read and logged before the port
// closes.
TEST(TheEnd, WhatWaitsOnThePortIsReadAndLoggedBeforeItCloses) {
    RunningRig r(3600, 3);
    r.startRun();
    r.rig.timeline.advance(1000);
    r.rig.ui.MSComm1.receive(kRecord);
    r.controller.unload();
    const std::string data = r.rig.files.content(kDataFile);
    EXPECT_NE(data.find(" 0001 2A80 0380 1000 1100 1200 1300 1400 0\r\n"), std::string::npos)
        << data;
    EXPECT_FALSE(r.rig.ui.MSComm1.isOpen());
    // The heater-off is still the first thing done.
    EXPECT_EQ(r.writes().back(), "!P00 ");
}

// A box still waiting for the event loop when the window goes is not lost: its text goes to
// the Events pane and the event log file.
TEST(TheEnd, BoxesStillWaitingGoToTheEvents) {
    RunningRig r;
    r.rig.ui.MSComm1.failWrite = Failure(5, "Input/output error");
    r.rig.ui.cmdTestComs.click();
    r.rig.ui.MSComm1.failWrite.reset();
    r.controller.unload();
    r.rig.pump.runPosted();
    EXPECT_TRUE(r.rig.dialogs.messages().empty());
    const std::string file = r.rig.files.content(kEventFile);
    EXPECT_NE(file.find("(message not shown) SendCommand: Error sending command to Quorvane. / "
                        "Command   :#HFN / 5  Input/output error"),
              std::string::npos)
        << file;
}

} // namespace
} // namespace quorvane
