// No handler that keeps a run going waits for the operator: a box raised by a timer or a
// button opens only after the handler has returned, the commands the run owes the
// instrument (the heater-off first) go out before it, and the run goes on while it is open.
#include "StartupRig.h"
#include "platform/Failure.h"
#include "shell/MainController.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using testing::StartupRig;

const std::string kEventFile = "/opt/quorvane/QuorvaneEvents.log";
const std::string kDataFile = "/data/run.log";
const std::string kRecord = ":\x03T 0001 2A80 0380 1000 1100 1200 1300 1400\r\n";

std::size_t countOf(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
}

bool contains(const std::vector<std::string>& items, const std::string& item) {
    return countOf(items, item) > 0;
}

// A loaded window on fakes with a run started: log interval 1 s, the given heat delay and
// heat time, level 120, heater commands allowed.
struct RunningRig {
    explicit RunningRig(int heatDelay = 2, int heatTime = 3, bool heaterAllowed = true) {
        controller.load();
        rig.ui.chkHeaterEnabled.setChecked(heaterAllowed);
        rig.ui.txtLogInterval.setText("1");
        rig.ui.txtHeatDelay.setText(std::to_string(heatDelay));
        rig.ui.txtHeatTime.setText(std::to_string(heatTime));
        rig.ui.txtHeatLevel.setText("120");
        rig.ui.CommonDialog1.answer = kDataFile;
        rig.ui.cmdNewRun.click();
        rig.ui.MSComm1.clearWritten();
    }
    void startRun() {
        rig.ui.cmdRun.click();
        rig.ui.MSComm1.clearWritten();
    }
    std::vector<std::string> writes() const { return rig.ui.MSComm1.writes(); }
    std::string status() const { return rig.ui.StatusBar1[6].text(); }

    StartupRig rig;
    MainController controller{rig.ui.view(), rig.services};
};

// What was true when a box opened.
struct AtOpen {
    std::vector<std::string> writes;
    bool logTimerRunning = false;
    std::string status;
};

struct HandlerCase {
    const char* name;
    // Brings the rig to just before the handler, with the fault in place.
    std::function<void(RunningRig&)> prepare;
    // Runs the handler.
    std::function<void(RunningRig&)> act;
    // The box's text starts with this.
    std::string box;
    // Written to the instrument before the box opened.
    std::vector<std::string> owedBeforeBox;
};

void PrintTo(const HandlerCase& c, std::ostream* out) {
    *out << c.name;
}

class HandlerBoxes : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(HandlerBoxes, TheBoxOpensAfterTheHandlerAndAfterWhatTheRunOwesTheInstrument) {
    const HandlerCase& c = GetParam();
    RunningRig r;
    c.prepare(r);
    r.rig.dialogs.clear();
    r.rig.ui.MSComm1.clearWritten();
    c.act(r);
    EXPECT_TRUE(r.rig.dialogs.messages().empty()) << "a box inside the handler";

    AtOpen atOpen;
    r.rig.dialogs.whileOpen = [&] {
        r.rig.dialogs.whileOpen = nullptr;
        atOpen.writes = r.writes();
        atOpen.logTimerRunning = r.rig.ui.tmrLogInterval.isEnabled();
        atOpen.status = r.status();
    };
    r.rig.pump.runPosted();
    ASSERT_FALSE(r.rig.dialogs.messages().empty());
    EXPECT_EQ(r.rig.dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(r.rig.dialogs.messages()[0].text.rfind(c.box, 0), 0u)
        << r.rig.dialogs.messages()[0].text;
    for (const std::string& command : c.owedBeforeBox) {
        EXPECT_TRUE(contains(atOpen.writes, command)) << command;
    }
}

const auto kEventLogFails = [](RunningRig& r) {
    r.rig.files.failing.emplace(kEventFile, Failure(30, "Read-only file system"));
};

INSTANTIATE_TEST_SUITE_P(
    RunHandlers, HandlerBoxes,
    ::testing::Values(
        // The disk of the event log turns read-only during the heat time.
        HandlerCase{"HeatTimeExpiry",
                    [](RunningRig& r) {
                        r.startRun();
                        r.rig.timeline.advance(2500); // heater on at 2 s
                        kEventLogFails(r);
                    },
                    [](RunningRig& r) { r.rig.timeline.advance(3000); }, // off at 5 s
                    "logToEventFile:",
                    {"!P00 "}},
        HandlerCase{"HeatDelayExpiry",
                    [](RunningRig& r) {
                        r.startRun();
                        r.rig.timeline.advance(1500);
                        kEventLogFails(r);
                    },
                    [](RunningRig& r) { r.rig.timeline.advance(1000); },
                    "logToEventFile:",
                    {"!Q0003 78 "}},
        HandlerCase{"Finish",
                    [](RunningRig& r) {
                        r.startRun();
                        r.rig.timeline.advance(2500);
                        kEventLogFails(r);
                    },
                    [](RunningRig& r) { r.rig.ui.cmdFinish.click(); },
                    "logToEventFile:",
                    {"!P00 "}},
        HandlerCase{"DataRequest",
                    [](RunningRig& r) {
                        r.startRun();
                        r.rig.ui.MSComm1.failWrite = Failure(5, "Input/output error");
                    },
                    [](RunningRig& r) {
                        r.rig.timeline.advance(1000);
                        r.rig.ui.MSComm1.failWrite.reset();
                    },
                    "SendCommand: Error sending command to Quorvane.\r\nCommand   :T",
                    {}},
        HandlerCase{"RecordWatch",
                    [](RunningRig& r) {
                        r.rig.ui.txtHeatDelay.setText("3600");
                        r.rig.ui.cmdNewRun.click();
                        r.startRun();
                        r.rig.timeline.advance(9500);
                        kEventLogFails(r);
                    },
                    [](RunningRig& r) { r.rig.timeline.advance(600); },
                    "logToEventFile:",
                    {}},
        HandlerCase{"StartRunWithTheHeaterOverride",
                    [](RunningRig& r) { r.rig.ui.chkHeaterEnabled.setChecked(false); },
                    [](RunningRig& r) { r.rig.ui.cmdRun.click(); },
                    "WARNING: The Heater Saftey Overide is ON",
                    {"#HFN", "#HFH"}},
        HandlerCase{"ResumeRefused",
                    [](RunningRig& r) {
                        r.startRun();
                        r.rig.ui.cmdFinish.click();
                        r.rig.ui.cmdResume.setEnabled(true);
                    },
                    [](RunningRig& r) { r.rig.ui.cmdResume.click(); },
                    "Run was aborted mid-heatcycle.",
                    {}},
        HandlerCase{
            "ComsCheck",
            [](RunningRig& r) { r.rig.ui.MSComm1.failWrite = Failure(5, "Input/output error"); },
            [](RunningRig& r) {
                r.rig.ui.cmdTestComs.click();
                r.rig.ui.MSComm1.failWrite.reset();
            },
            "SendCommand: Error sending command to Quorvane.\r\nCommand   :#HFN",
            {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The heater-off at the heat-time expiry and at Finish is on the line before the event
// log's box opens, and at Finish the data requests have stopped by then.
TEST(HandlerBoxes, HeaterOffAndStoppedRequestsBeforeTheEventLogBoxAtFinish) {
    RunningRig r;
    r.startRun();
    r.rig.timeline.advance(2500);
    kEventLogFails(r);
    r.rig.ui.MSComm1.clearWritten();
    AtOpen atOpen;
    r.rig.dialogs.whileOpen = [&] {
        r.rig.dialogs.whileOpen = nullptr;
        atOpen.writes = r.writes();
        atOpen.logTimerRunning = r.rig.ui.tmrLogInterval.isEnabled();
        atOpen.status = r.status();
    };
    r.rig.ui.cmdFinish.click();
    r.rig.pump.runPosted();
    ASSERT_EQ(r.rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(atOpen.writes, std::vector<std::string>{"!P00 "});
    EXPECT_FALSE(atOpen.logTimerRunning);
    EXPECT_EQ(atOpen.status, "Waiting");
}

// A data request that failed once, the device back at once: the requests go on every
// second while the operator reads the box, so the heating curve is not lost.
TEST(HandlerBoxes, DataRequestsGoOnWhileTheBoxOfAFailedRequestIsOpen) {
    RunningRig r(2, 3);
    r.startRun();
    r.rig.ui.MSComm1.failWrite = Failure(5, "Input/output error");
    std::size_t requestsWhileOpen = 0;
    std::vector<std::string> heaterWhileOpen;
    r.rig.dialogs.whileOpen = [&] {
        r.rig.dialogs.whileOpen = nullptr;
        r.rig.ui.MSComm1.failWrite.reset();
        const std::size_t before = countOf(r.writes(), "T");
        r.rig.timeline.advance(8000);
        requestsWhileOpen = countOf(r.writes(), "T") - before;
        heaterWhileOpen = r.writes();
    };
    r.rig.timeline.advance(1000); // the first request fails
    r.rig.pump.runPosted();
    ASSERT_EQ(r.rig.dialogs.messages().size(), 1u);
    EXPECT_GE(requestsWhileOpen, 7u);
    EXPECT_TRUE(contains(heaterWhileOpen, "!Q0003 78 "));
    EXPECT_TRUE(contains(heaterWhileOpen, "!P00 "));
}

// Nothing waits at start-up either: the heater-off of the load goes out before a box about
// the event log, which opens once, at the end of the load's own commands.
TEST(StartupBoxes, TheStartUpHeaterOffGoesOutBeforeTheEventLogBox) {
    StartupRig rig;
    rig.files.failing.emplace(kEventFile, Failure(30, "Read-only file system"));
    MainController controller(rig.ui.view(), rig.services);
    std::string writtenAtOpen;
    rig.dialogs.whileOpen = [&] {
        rig.dialogs.whileOpen = nullptr;
        writtenAtOpen = rig.ui.MSComm1.written();
    };
    controller.load();
    rig.pump.runPosted();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text.rfind("logToEventFile:", 0), 0u);
    EXPECT_NE(writtenAtOpen.find("!P00 "), std::string::npos) << writtenAtOpen;
}

// The serial port unreachable at start-up: one box for the first command, and the same
// failure again goes to the Events pane only.
TEST(StartupBoxes, AnUnreachablePortRaisesOneBoxAndTheRepeatsGoToTheEvents) {
    StartupRig rig;
    rig.ui.MSComm1.failOpen = Failure(2, "No such file or directory");
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.pump.runPosted();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :#HFN\r\n"
              "2  No such file or directory");
    const std::vector<std::string> events = rig.events();
    EXPECT_TRUE(contains(events, "(message not shown) Error setting serial port:COM2 / "
                                 "2  No such file or directory"));
    EXPECT_TRUE(contains(events, "(message not shown) SendCommand: Error sending command to "
                                 "Quorvane. / Command   :!P00  / 2  No such file or directory"));

    // Once the program is up, the operator's own Coms Check is told of the failure again.
    rig.ui.cmdTestComs.click();
    rig.pump.runPosted();
    EXPECT_EQ(rig.dialogs.messages().size(), 3u);
}

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
