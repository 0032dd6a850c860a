// No handler that keeps a run going waits for the operator: a box raised by a timer or a
// button opens only after the handler has returned, the commands the run owes the
// instrument (the heater-off first) go out before it, and the run goes on while it is open.
#include "RunningRig.h"
#include "platform/Failure.h"
#include "shell/MainController.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using testing::contains;
using testing::countOf;
using testing::kEventFile;
using testing::RunningRig;
using testing::StartupRig;

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

} // namespace
} // namespace quorvane
