#include "RunRig.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <functional>

namespace quorvane::testing {
namespace {

using Send = std::function<bool(CommandSender&)>;

struct CommandCase {
    const char* name;
    Send send;
    std::vector<std::string> writes;
    std::vector<std::string> events;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandBytes : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandBytes, WritesExactlyTheCommandTextAndItsEvents) {
    RunRig rig;
    const CommandCase& c = GetParam();
    EXPECT_FALSE(c.send(rig.run.commands()));
    EXPECT_EQ(rig.ui.MSComm1.writes(), c.writes);
    EXPECT_EQ(rig.eventTexts(), c.events);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandBytes,
    ::testing::Values(
        CommandCase{"Wakeup",
                    [](CommandSender& s) { return s.sendNCommand(); },
                    {"#HFN"},
                    {"Sent wakeup command"}},
        CommandCase{
            "H", [](CommandSender& s) { return s.sendHCommand(); }, {"#HFH"}, {"Sent N command"}},
        CommandCase{"DataRequest", [](CommandSender& s) { return s.sendTCommand(); }, {"T"}, {}},
        CommandCase{"HeaterOff",
                    [](CommandSender& s) { return s.sendHeaterOffNow(); },
                    {"!P00 "},
                    {"Sending heater off command"}},
        CommandCase{"PowerLevel0",
                    [](CommandSender& s) { return s.sendPowerLevelCommand(0); },
                    {"!P0 "},
                    {"Sending PowerLevel command  PowerLevel: 0"}},
        CommandCase{"PowerLevel5",
                    [](CommandSender& s) { return s.sendPowerLevelCommand(5); },
                    {"!P5 "},
                    {"Sending PowerLevel command  PowerLevel: 5"}},
        CommandCase{"PowerLevel200",
                    [](CommandSender& s) { return s.sendPowerLevelCommand(200); },
                    {"!PC8 "},
                    {"Sending PowerLevel command  PowerLevel: 200"}},
        CommandCase{"HeaterOn300s100",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(100, 300); },
                    {"!Q012C 64 "},
                    {"Sending heater on command. Duration: 300  PowerLevel: 100"}},
        CommandCase{"HeaterOnZero",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(0, 0); },
                    {"!Q0000 00 "},
                    {"Sending heater on command. Duration: 0  PowerLevel: 0"}},
        CommandCase{"HeaterOnFiveDigitDuration",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(200, 86400); },
                    {"!Q15180 C8 "},
                    {"Sending heater on command. Duration: 86400  PowerLevel: 200"}},
        CommandCase{"HeaterOnFourDigitsNoPadding",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(15, 65535); },
                    {"!QFFFF 0F "},
                    {"Sending heater on command. Duration: 65535  PowerLevel: 15"}},
        CommandCase{"ComsCheck",
                    [](CommandSender& s) {
                        s.comsCheck();
                        return false;
                    },
                    kComsCheckWrites, kComsCheckEvents}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    Send send;
    std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandRangeChecks : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CommandRangeChecks, RefusedWithMessageNothingWrittenNoEvent) {
    RunRig rig;
    const RefusalCase& c = GetParam();
    EXPECT_TRUE(c.send(rig.run.commands()));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text, c.message);
    EXPECT_EQ(rig.dialogs.messages()[0].title, "Quorvane");
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_TRUE(rig.eventTexts().empty());
    EXPECT_FALSE(rig.flags.heaterOn);
    EXPECT_FALSE(rig.ui.tmrHeatTime.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CommandRangeChecks,
    ::testing::Values(
        RefusalCase{"PowerLevelMinus1",
                    [](CommandSender& s) { return s.sendPowerLevelCommand(-1); },
                    "sendPowerLevelCommand: Invalid PowerLevel setting requested\r\n"
                    "Requested Setting: -1"},
        RefusalCase{"PowerLevel201", [](CommandSender& s) { return s.sendPowerLevelCommand(201); },
                    "sendPowerLevelCommand: Invalid PowerLevel setting requested\r\n"
                    "Requested Setting: 201"},
        RefusalCase{"HeaterOnLevelMinus1",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(-1, 10); },
                    "sendHeaterOnCommand: Invalid PowerLevel setting requested\r\n"
                    "Requested Setting: -1"},
        RefusalCase{"HeaterOnLevel201",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(201, 10); },
                    "sendHeaterOnCommand: Invalid PowerLevel setting requested\r\n"
                    "Requested Setting: 201"},
        RefusalCase{"HeaterOnDuration86401",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(100, 86401); },
                    "sendHeaterOnCommand: Invalid duration setting requested\r\n"
                    "Requested Setting: 86401Seconds."},
        RefusalCase{"HeaterOnDurationMinus1",
                    [](CommandSender& s) { return s.sendHeaterOnCommand(100, -1); },
                    "sendHeaterOnCommand: Invalid duration setting requested\r\n"
                    "Requested Setting: -1Seconds."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandSender, HeaterOnArmsTheHeatTimeAndEntersHeating) {
    RunRig rig;
    rig.ui.txtHeatTime.setText("300");
    rig.forget();
    rig.run.commands().sendHeaterOnCommand(100, 300);
    EXPECT_TRUE(rig.flags.heaterOn);
    EXPECT_TRUE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_FLOAT_EQ(rig.ui.tmrHeatTime.interval(), 300.0f);
    EXPECT_EQ(rig.ui.lblHeatTimeRemaining.caption(), "300");
    EXPECT_EQ(rig.status(), "Running - Heater ON");
}

TEST(CommandSender, PowerLevelSetsHeaterBeliefByLevel) {
    RunRig rig;
    rig.run.commands().sendPowerLevelCommand(1);
    EXPECT_TRUE(rig.flags.heaterOn);
    rig.run.commands().sendPowerLevelCommand(0);
    EXPECT_FALSE(rig.flags.heaterOn);
}

TEST(CommandSender, HeaterOffChoosesRunningOrFinishedByRunInProgress) {
    RunRig rig;
    rig.flags.heaterOn = true;
    rig.ui.tmrHeatTime.setEnabled(true);
    rig.flags.runInProgress = true;
    rig.run.sendHeaterOffNow();
    EXPECT_FALSE(rig.flags.heaterOn);
    EXPECT_FALSE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    rig.flags.runInProgress = false;
    rig.run.sendHeaterOffNow();
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Next Run");
}

TEST(CommandSender, SuppressedHeaterCommandsWriteNothingYetChangeTheState) {
    RunRig rig;
    rig.ui.chkHeaterEnabled.setChecked(false);
    rig.ui.txtHeatTime.setText("300");
    rig.forget();
    EXPECT_FALSE(rig.run.commands().sendHeaterOnCommand(100, 300));
    EXPECT_TRUE(rig.ui.MSComm1.writes().empty());
    EXPECT_EQ(rig.eventTexts(),
              (std::vector<std::string>{"Sending heater on command. Duration: 300  PowerLevel: 100",
                                        "(Heater commands suppressed)"}));
    EXPECT_TRUE(rig.flags.heaterOn);
    EXPECT_TRUE(rig.ui.tmrHeatTime.isEnabled());
    EXPECT_EQ(rig.status(), "Running - Heater ON");

    rig.forget();
    rig.flags.runInProgress = true;
    EXPECT_FALSE(rig.run.sendHeaterOffNow());
    EXPECT_FALSE(rig.run.commands().sendPowerLevelCommand(5));
    // Heater off is never intercepted: a heater must not stay on because of the override.
    EXPECT_EQ(rig.ui.MSComm1.writes(), std::vector<std::string>{"!P00 "});
    EXPECT_EQ(rig.eventTexts(),
              (std::vector<std::string>{"Sending heater off command",
                                        "Sending PowerLevel command  PowerLevel: 5",
                                        "(Heater commands suppressed)"}));
    EXPECT_EQ(rig.status(), "Running - Heater OFF");

    // Everything else still goes out, and anything holding "!P" or "!Q" does not.
    rig.forget();
    rig.run.commands().sendTCommand();
    rig.run.comsCheck();
    rig.run.commands().sendCommand("X!QY");
    EXPECT_EQ(rig.ui.MSComm1.writes(), (std::vector<std::string>{"T", "#HFN", "#HFH"}));
}

TEST(CommandSender, ClosedPortIsOpenedBeforeWriting) {
    RunRig rig;
    rig.ui.MSComm1.close();
    const int opens = rig.ui.MSComm1.opens();
    EXPECT_FALSE(rig.run.commands().sendTCommand());
    EXPECT_EQ(rig.ui.MSComm1.opens(), opens + 1);
    EXPECT_TRUE(rig.ui.MSComm1.isOpen());
    EXPECT_EQ(rig.ui.MSComm1.writes(), std::vector<std::string>{"T"});
    rig.run.commands().sendTCommand();
    EXPECT_EQ(rig.ui.MSComm1.opens(), opens + 1);
}

TEST(CommandSender, FailedOpenIsReportedWithTheCommand) {
    RunRig rig;
    rig.ui.MSComm1.close();
    rig.ui.MSComm1.failOpen = Failure(2, "No such file or directory");
    EXPECT_TRUE(rig.run.commands().sendCommand("#HFN"));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :#HFN\r\n"
              "2  No such file or directory");
}

struct FailedWriteCase {
    const char* name;
    Send send;
    std::string command;
    std::vector<std::string> events;
    bool heaterOnBefore; // the opposite of what success would leave
    bool heatTimerBefore;
    // A heater-off that failed is owed, and the status says so.
    std::string status = "Running - Heater OFF";
};

void PrintTo(const FailedWriteCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedHeaterWrite : public ::testing::TestWithParam<FailedWriteCase> {};

TEST_P(FailedHeaterWrite, ReportedAndLoggedStateUntouched) {
    RunRig rig;
    const FailedWriteCase& c = GetParam();
    // Success would leave state 4 (heater on) or 5 (heater off outside a run).
    rig.run.setGuiState(3);
    rig.flags.heaterOn = c.heaterOnBefore;
    rig.ui.tmrHeatTime.setEnabled(c.heatTimerBefore);
    rig.forget();
    rig.ui.MSComm1.failWrite = Failure(8020, "Error writing to port");

    EXPECT_FALSE(c.send(rig.run.commands()));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :" + c.command +
                  "\r\n8020  Error writing to port");
    EXPECT_EQ(rig.dialogs.messages()[0].title, "Quorvane");
    EXPECT_EQ(rig.eventTexts(), c.events);
    EXPECT_EQ(rig.flags.heaterOn, c.heaterOnBefore);
    EXPECT_EQ(rig.ui.tmrHeatTime.isEnabled(), c.heatTimerBefore);
    EXPECT_EQ(rig.status(), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, FailedHeaterWrite,
    ::testing::Values(
        FailedWriteCase{"HeaterOn",
                        [](CommandSender& s) { return s.sendHeaterOnCommand(100, 300); },
                        "!Q012C 64 ",
                        {"Sending heater on command. Duration: 300  PowerLevel: 100",
                         "Failed to send heater on command. Duration: 300  PowerLevel: 100"},
                        false,
                        false},
        FailedWriteCase{"HeaterOff",
                        [](CommandSender& s) { return s.sendHeaterOffNow(); },
                        "!P00 ",
                        {"Sending heater off command", "Failed to send heater off command"},
                        true,
                        true,
                        "Running - Heater OFF pending"},
        FailedWriteCase{"PowerLevel",
                        [](CommandSender& s) { return s.sendPowerLevelCommand(0); },
                        "!P0 ",
                        {"Sending PowerLevel command  PowerLevel: 0",
                         "Failed to send PowerLevel command  PowerLevel: 0"},
                        true,
                        false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandSender, FailedCommandResultIsTrueAndEventStillLogged) {
    RunRig rig;
    rig.ui.MSComm1.failWrite = Failure(8020, "Error writing to port");
    EXPECT_TRUE(rig.run.commands().sendNCommand());
    EXPECT_EQ(rig.eventTexts(), std::vector<std::string>{"Sent wakeup command"});
}

TEST(CommandSender, RepeatedDataRequestFailureShowsOneBoxUntilAWriteSucceeds) {
    RunRig rig;
    rig.ui.MSComm1.failWrite = Failure(8020, "Error writing to port");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(rig.run.commands().sendTCommand());
    }
    EXPECT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.eventTexts(), (std::vector<std::string>{
                                    "Failed to send data request: 8020  Error writing to port",
                                    "Failed to send data request: 8020  Error writing to port"}));

    // A different fault is news.
    rig.ui.MSComm1.failWrite = Failure(8021, "Device gone");
    rig.run.commands().sendTCommand();
    EXPECT_EQ(rig.dialogs.messages().size(), 2u);

    // Other commands always report.
    rig.run.commands().sendCommand("#HFN");
    EXPECT_EQ(rig.dialogs.messages().size(), 3u);

    // Once a write works, the next failure is told again.
    rig.ui.MSComm1.failWrite.reset();
    EXPECT_FALSE(rig.run.commands().sendTCommand());
    rig.ui.MSComm1.failWrite = Failure(8021, "Device gone");
    rig.run.commands().sendTCommand();
    EXPECT_EQ(rig.dialogs.messages().size(), 4u);
}

TEST(CommandSender, DataRequestsFromTimerNeverStackBoxes) {
    RunRig rig;
    rig.ready("1", "100", "10");
    rig.ui.cmdRun.click();
    rig.forget();
    rig.ui.MSComm1.failWrite = Failure(8020, "Error writing to port");
    int depth = 0;
    int whileOpen = 0;
    rig.dialogs.whileOpen = [&] {
        // Further data requests come while the box is open (in the window the box opens
        // after the tick, and the timer goes on).
        if (++depth < 5) {
            rig.run.timers().logIntervalTick();
            rig.run.timers().logIntervalTick();
            whileOpen += 2;
        }
        --depth;
    };
    rig.advanceSeconds(5);
    EXPECT_EQ(rig.dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(whileOpen, 2);
    const std::vector<std::string> events = rig.eventTexts();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) {
                                return e.rfind("Failed to send data request: ", 0) == 0;
                            }),
              5 + 2 - 1);
}

} // namespace
} // namespace quorvane::testing
