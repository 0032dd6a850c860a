#include "RunRig.h"

#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return out;
}

// One second of a run with log interval 2, heat delay 5, heat time 3.
struct Second {
    int t;
    std::string elapsed, delayRemaining, timeRemaining, status;
    std::vector<std::string> writes;
};

TEST(RunSequence, WholeRunTickByTick) {
    RunRig rig;
    rig.ready("2", "5", "3", "100");
    rig.ui.cmdRun.click();
    EXPECT_EQ(rig.ui.MSComm1.writes(), kComsCheckWrites);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    EXPECT_TRUE(rig.flags.runInProgress);
    EXPECT_EQ(rig.ui.tmrLogInterval.interval(), 2000);
    EXPECT_FLOAT_EQ(rig.ui.tmrHeatDelay.interval(), 5.0f);
    rig.forget();

    const char* off = "Running - Heater OFF";
    const char* on = "Running - Heater ON";
    const Second seconds[] = {
        {1, "1", "4", "3", off, {}},
        {2, "2", "3", "3", off, {"T"}},
        {3, "3", "2", "3", off, {}},
        {4, "4", "1", "3", off, {"T"}},
        {5, "5", "0", "3", on, {"!Q0003 64 "}},
        {6, "6", "0", "2", on, {"T"}},
        {7, "7", "0", "1", on, {}},
        {8, "8", "0", "0", off, {"T", "!P00 "}},
        {9, "9", "0", "0", off, {}},
        {10, "10", "0", "0", off, {"T"}},
    };
    for (const Second& s : seconds) {
        SCOPED_TRACE(s.t);
        rig.ui.MSComm1.clearWritten();
        rig.advanceSeconds(1);
        EXPECT_EQ(rig.ui.lblElapsedTime.caption(), s.elapsed);
        EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), s.delayRemaining);
        EXPECT_EQ(rig.ui.lblHeatTimeRemaining.caption(), s.timeRemaining);
        EXPECT_EQ(rig.status(), s.status);
        EXPECT_EQ(rig.ui.MSComm1.writes(), s.writes);
        EXPECT_EQ(rig.flags.heatCycleComplete, s.t >= 8);
        EXPECT_EQ(rig.flags.heaterOn, s.t >= 5 && s.t < 8);
    }
    // The fake instrument never answers: after three log intervals (at least 10 s) the
    // run tells of it.
    EXPECT_EQ(rig.eventTexts(),
              (std::vector<std::string>{"Sending heater on command. Duration: 3  PowerLevel: 100",
                                        "Sending heater off command",
                                        "No data record received for 10 seconds."}));

    // Finish after the cycle: the elapsed count goes on, Resume is offered.
    rig.forget();
    rig.ui.cmdFinish.click();
    EXPECT_EQ(rig.ui.MSComm1.writes(), std::vector<std::string>{"!P00 "});
    EXPECT_EQ(rig.eventTexts(), (std::vector<std::string>{"Sending heater off command",
                                                          "END RUN. Elapsed time:10 seconds"}));
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_TRUE(rig.ui.cmdResume.isEnabled());
    EXPECT_FALSE(rig.flags.runInProgress);
    rig.ui.MSComm1.clearWritten();
    rig.advanceSeconds(2);
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "12");
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());

    // Resume: logging again, no command, no header, no heater timer.
    rig.forget();
    const std::string file = rig.files.content(RunRig::kDataFile);
    rig.ui.cmdResume.click();
    EXPECT_EQ(rig.eventTexts(), std::vector<std::string>{"RESUMED RUN. Elapsed time:12 seconds"});
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    EXPECT_TRUE(rig.flags.runInProgress);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    rig.advanceSeconds(4);
    EXPECT_EQ(rig.ui.MSComm1.writes(), (std::vector<std::string>{"T", "T"}));
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "16");
    EXPECT_FALSE(rig.ui.tmrHeatDelay.isEnabled());
    EXPECT_FALSE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_EQ(rig.files.content(RunRig::kDataFile), file);
}

TEST(RunSequence, StartRunWritesTheHeaderAndTheStartEvent) {
    RunRig rig;
    rig.ui.lblInstrumentID.setCaption("QV-0042");
    rig.ready("2", "5", "3", "100");
    rig.ui.cmdRun.click();
    const auto header = lines(rig.files.content(RunRig::kDataFile));
    ASSERT_EQ(header.size(), 11u);
    EXPECT_EQ(header[0], "# Instrument: QV-0042");
    EXPECT_EQ(header[2], "# Delay: 5");
    EXPECT_EQ(header[5], "# HeaterEnabled: Yes");
    EXPECT_EQ(header[9], "# Logfile: /data/run1.log");
    EXPECT_EQ(rig.eventTexts(),
              concat(kComsCheckEvents, {"START RUN. HeatDelay: 5  HeatDuration: 3  PowerLevel: "
                                        "100  LogInterval: 2  Logfile: /data/run1.log"}));
    EXPECT_EQ(rig.pump.passes(), 1);
    EXPECT_TRUE(rig.dialogs.messages().empty());
    EXPECT_TRUE(rig.flags.runStarted);
    EXPECT_FALSE(rig.flags.heatCycleComplete);
}

TEST(RunSequence, HeaterSafetyWarningWhenHeaterCommandsAreNotAllowed) {
    RunRig rig;
    rig.ready("2", "5", "3", "100", false);
    rig.ui.cmdRun.click();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "WARNING: The Heater Saftey Overide is ON\r\n\r\n"
              "This program will appear to run normally. However,\r\n"
              "any commands to power on the heater will be intercepted\r\n"
              "at a low level and suppressed.");
    EXPECT_EQ(rig.dialogs.messages()[0].title, "Quorvane");
    EXPECT_EQ(rig.dialogs.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(lines(rig.files.content(RunRig::kDataFile))[5], "# HeaterEnabled: No");
    EXPECT_EQ(rig.status(), "Running - Heater OFF");

    // The run proceeds as if the heater had been switched on.
    rig.ui.MSComm1.clearWritten();
    rig.advanceSeconds(5);
    EXPECT_EQ(rig.status(), "Running - Heater ON");
    rig.advanceSeconds(3);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    // The heater-on was intercepted; the heater-off still goes out.
    EXPECT_EQ(rig.ui.MSComm1.writes(), (std::vector<std::string>{"T", "T", "T", "T", "!P00 "}));
}

TEST(RunSequence, ZeroDelaySwitchesTheHeaterOnWithinStartRun) {
    RunRig rig;
    rig.ready("2", "0", "3", "100");
    rig.ui.cmdRun.click();
    EXPECT_EQ(rig.eventTexts(),
              concat(kComsCheckEvents,
                     {"START RUN. HeatDelay: 0  HeatDuration: 3  PowerLevel: 100  LogInterval: 2  "
                      "Logfile: /data/run1.log",
                      "Zero delay time specified, proceed directly to heat-on cycle.",
                      "Sending heater on command. Duration: 3  PowerLevel: 100"}));
    EXPECT_EQ(rig.ui.MSComm1.writes(), concat(kComsCheckWrites, {"!Q0003 64 "}));
    EXPECT_EQ(lines(rig.files.content(RunRig::kDataFile)).size(), 11u);
    EXPECT_EQ(rig.status(), "Running - Heater ON");
    EXPECT_FALSE(rig.ui.tmrHeatDelay.isEnabled());
    EXPECT_EQ(rig.ui.tmrHeatDelay.expiries(), 0);
    EXPECT_TRUE(rig.flags.runInProgress);

    rig.advanceSeconds(3);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    EXPECT_TRUE(rig.flags.heatCycleComplete);
    rig.forget();
    rig.ui.cmdFinish.click();
    EXPECT_EQ(rig.eventTexts(), (std::vector<std::string>{"Sending heater off command",
                                                          "END RUN. Elapsed time:3 seconds"}));
}

TEST(RunSequence, HeatTimeZeroSendsNoHeaterCommandAndOffersNoResume) {
    RunRig rig;
    rig.ready("0", "2", "0");
    rig.ui.cmdRun.click();
    rig.forget();
    rig.advanceSeconds(5);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    EXPECT_FALSE(rig.flags.heatCycleComplete);
    rig.ui.cmdFinish.click();
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    EXPECT_FALSE(rig.ui.tmrOneSecond.isEnabled());
}

TEST(RunSequence, LogIntervalZeroSendsNoDataRequests) {
    RunRig rig;
    rig.ready("0", "100", "10");
    rig.ui.cmdRun.click();
    rig.forget();
    rig.advanceSeconds(30);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_EQ(rig.ui.tmrLogInterval.interval(), 0);
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "30");
}

TEST(RunSequence, FinishDuringTheDelayStopsEverything) {
    RunRig rig;
    rig.ready("1", "5", "3");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(2);
    rig.forget();
    rig.ui.cmdFinish.click();
    EXPECT_EQ(rig.ui.MSComm1.writes(), std::vector<std::string>{"!P00 "});
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    rig.ui.MSComm1.clearWritten();
    rig.advanceSeconds(10);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "2");
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "3");

    // A click that still reaches Resume is refused.
    rig.forget();
    rig.run.lifecycle().resumeRun();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "Run was aborted mid-heatcycle.\r\nYou cannot resume from here, please initialize\r\n"
              "a new run.");
    EXPECT_EQ(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(rig.dialogs.messages()[0].title, "Quorvane");
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_FALSE(rig.flags.runInProgress);
    EXPECT_TRUE(rig.eventTexts().empty());
}

TEST(RunSequence, FinishDuringHeatingLeavesTheCycleIncomplete) {
    RunRig rig;
    rig.ready("0", "1", "10");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(3);
    ASSERT_EQ(rig.status(), "Running - Heater ON");
    rig.ui.cmdFinish.click();
    EXPECT_FALSE(rig.flags.heaterOn);
    EXPECT_FALSE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    rig.ui.MSComm1.clearWritten();
    rig.advanceSeconds(20);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
}

TEST(RunSequence, NextRunPassesThroughIdle) {
    RunRig rig;
    rig.ready("0", "1", "1");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(3);
    rig.ui.cmdFinish.click();
    rig.forget();

    rig.ui.CommonDialog1.answer.reset();
    rig.ui.cmdNewRun.click();
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Initialize");
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "");
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);

    rig.ui.CommonDialog1.answer = RunRig::kDataFile;
    rig.ui.cmdNewRun.click();
    EXPECT_EQ(rig.status(), "Stopped");
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "0");
    EXPECT_TRUE(rig.ui.cmdRun.isEnabled());
}

TEST(RunSequence, LongRunCountsPast32767Seconds) {
    RunRig rig;
    rig.ready("0", "40000", "40000");
    rig.ui.cmdRun.click();
    EXPECT_TRUE(rig.ui.tmrHeatDelay.isEnabled());
    rig.forget();
    rig.advanceSeconds(32768);
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "32768");
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "7232");
    rig.advanceSeconds(40000 - 32768);
    EXPECT_EQ(rig.status(), "Running - Heater ON");
    EXPECT_EQ(rig.ui.MSComm1.writes(), std::vector<std::string>{"!Q9C40 64 "});
    rig.advanceSeconds(39999);
    EXPECT_EQ(rig.ui.lblHeatTimeRemaining.caption(), "1");
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "79999");
    rig.advanceSeconds(1);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    EXPECT_TRUE(rig.flags.heatCycleComplete);
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "80000");
}

// The heater-off is owed then: the window leaves the heating look at once (the status must
// not say the heater is on) and says that the heater-off is pending.
TEST(RunSequence, FailedHeaterOffAtHeatTimeExpiryIsPending) {
    RunRig rig;
    rig.ready("0", "1", "2");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(1);
    ASSERT_EQ(rig.status(), "Running - Heater ON");
    rig.forget();
    rig.ui.MSComm1.failWrite = Failure(8020, "Error writing to port");
    rig.advanceSeconds(2);

    EXPECT_EQ(rig.status(), "Running - Heater OFF pending");
    EXPECT_EQ(rig.ui.StatusBar1[6].picturePath(), "/opt/quorvane/icons/redlight.bmp");
    EXPECT_EQ(rig.ui.cmdFinish.caption(), "Finish");
    EXPECT_FALSE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_TRUE(rig.flags.heatCycleComplete);
    EXPECT_TRUE(rig.flags.heaterOn);
    EXPECT_EQ(rig.eventTexts(), (std::vector<std::string>{"Sending heater off command",
                                                          "Failed to send heater off command"}));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :!P00 \r\n"
              "8020  Error writing to port");

    // Finish still ends in state 5, and the completed cycle may be resumed.
    rig.ui.cmdFinish.click();
    EXPECT_EQ(rig.status(), "Waiting - Heater OFF pending");
    EXPECT_TRUE(rig.ui.cmdResume.isEnabled());
}

TEST(RunSequence, StartRunRefusesAFieldWithoutAWholeNumber) {
    struct Case {
        fakes::FakeTextField fakes::FakeMainView::*field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {&fakes::FakeMainView::txtHeatDelay, "abc",
         "Heat Delay must be a positive integer seconds between 0 and 86400"},
        {&fakes::FakeMainView::txtLogInterval, "3000000",
         "Log Interval must be a positive integer seconds between 0 and 64"},
        {&fakes::FakeMainView::txtHeatTime, "",
         "HeatTime must be a positive integer seconds between 0 and 86400"},
        {&fakes::FakeMainView::txtHeatLevel, "1.5",
         "Heat level must be a positive integer seconds between 0 and 200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RunRig rig;
        rig.ready("2", "5", "3");
        (rig.ui.*c.field).setText(c.text);
        rig.forget();
        rig.ui.cmdRun.click();
        ASSERT_EQ(rig.dialogs.messages().size(), 1u);
        EXPECT_EQ(rig.dialogs.messages()[0].text,
                  std::string("startRun: The run cannot start.\r\n") + c.message +
                      "\r\nRequested Setting: " + c.text);
        EXPECT_EQ(rig.status(), "Stopped");
        EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
        EXPECT_TRUE(rig.eventTexts().empty());
        EXPECT_EQ(rig.files.content(RunRig::kDataFile), "");
        EXPECT_FALSE(rig.ui.tmrOneSecond.isEnabled());
        EXPECT_FALSE(rig.flags.runStarted);
        EXPECT_TRUE((rig.ui.*c.field).hasFocus());
    }
}

TEST(RunSequence, FinishLetThroughDuringStartRunIsNotUndone) {
    RunRig rig;
    rig.ready("1", "2", "3");
    rig.pump.pending = [&] { rig.ui.cmdFinish.click(); };
    rig.ui.cmdRun.click();
    rig.pump.pending = nullptr;
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_FALSE(rig.flags.runInProgress);
    rig.ui.MSComm1.clearWritten();
    rig.advanceSeconds(10);
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_FALSE(rig.ui.tmrOneSecond.isEnabled());
    // A parameter change afterwards still returns the window to Idle.
    rig.ui.txtHeatLevel.setText("50");
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Initialize");
}

TEST(RunTimers, CountLabelWithoutANumberIsLeftAlone) {
    RunRig rig;
    rig.ui.tmrHeatDelay.setEnabled(true);
    rig.ui.lblElapsedTime.setCaption("");
    rig.ui.lblHeatDelayRemaining.setCaption("abc");
    rig.run.timers().oneSecondTick();
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "");
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "abc");
    rig.ui.lblHeatDelayRemaining.setCaption("0");
    rig.run.timers().oneSecondTick();
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "-1");
}

} // namespace
} // namespace quorvane::testing
