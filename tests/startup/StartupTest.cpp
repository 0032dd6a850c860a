#include "StartupRig.h"
#include "platform/Failure.h"
#include "shell/MainController.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

using testing::StartupRig;

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

TEST(Startup, FirstStartWithAnEmptyStore) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();

    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i) { // one Coms Check per field the settings changed
        expected.push_back("Sent wakeup command");
        expected.push_back("Sent N command");
    }
    for (const char* line :
         {"Program loaded.", "Configured Serial Port: COM2 9600,N,8,1", "Sent wakeup command",
          "Sent N command", "Sending heater off command"}) {
        expected.push_back(line);
    }
    EXPECT_EQ(rig.events(), expected);
    EXPECT_EQ(rig.files.content("/opt/quorvane/QuorvaneEvents.log"), rig.ui.txtEventLog.text());

    // What the instrument received: four wake-ups from the settings, the start-up Coms
    // Check, and the heater off (never intercepted).
    EXPECT_EQ(rig.ui.MSComm1.written(), "#HFN#HFH#HFN#HFH#HFN#HFH#HFN#HFH#HFN#HFH!P00 ");
    EXPECT_EQ(rig.ui.frmMain.caption(), "Kelmont Quorvane  Vsn:1.0.6");
    EXPECT_EQ(rig.ui.StatusBar1[6].text(), "Waiting");
    EXPECT_EQ(rig.ui.StatusBar1[6].picturePath(), "/opt/quorvane/icons/nolight.bmp");
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Initialize");
    EXPECT_TRUE(rig.ui.cmdNewRun.isEnabled());
    EXPECT_FALSE(rig.ui.cmdRun.isEnabled());
    EXPECT_EQ(rig.ui.cmdFinish.caption(), "Finish");
    EXPECT_TRUE(rig.ui.tmrCheckSerialInput.isEnabled());
    EXPECT_FALSE(rig.ui.tmrOneSecond.isEnabled());
    EXPECT_FALSE(rig.ui.tmrLogInterval.isEnabled());
    EXPECT_FALSE(rig.ui.txtEventLog.wrapping());
    EXPECT_FALSE(rig.ui.txtComsDisplay.wrapping());
    EXPECT_TRUE(rig.ui.txtLoggedDataDisplay.wrapping());
    EXPECT_EQ(rig.pump.passes(), 1);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST(Startup, StoredValuesEqualToTheDesignRunNoReset) {
    StartupRig rig;
    for (const char* key : {"LogInterval", "HeatDelay", "HeatTime", "HeatLevel"}) {
        rig.store.values[std::string("Settings/") + key] = "0";
    }
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    EXPECT_EQ(rig.events().front(), "Program loaded.");
}

TEST(Startup, AFailingPortShowsItsMessageAndStartUpGoesOn) {
    StartupRig rig;
    rig.store.values["Settings/ComPort"] = "COM3";
    rig.ui.MSComm1.failOpen = Failure(2, "No such file or directory");
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.pump.runPosted();
    // One box: the same failure again within the start-up goes to the events.
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages().front().text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :#HFN\r\n"
              "2  No such file or directory");
    const std::vector<std::string> events = rig.events();
    EXPECT_NE(std::find(events.begin(), events.end(),
                        "(message not shown) Error setting serial port:COM3 / "
                        "2  No such file or directory"),
              events.end());
    EXPECT_EQ(rig.ui.frmMain.caption(), "Kelmont Quorvane  Vsn:1.0.6");
    // The heater-off of the start-up could not be sent: it is owed.
    EXPECT_EQ(rig.ui.StatusBar1[6].text(), "Waiting - Heater OFF pending");
}

TEST(Shutdown, HeaterOffWhileOpenThenPortClosedThenSettingsSaved) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    controller.menuClicked(SerialMenu::BaudRate, 2); // 19200
    rig.ui.MSComm1.clearWritten();
    const int closes = rig.ui.MSComm1.closes();
    controller.unload();
    EXPECT_EQ(rig.ui.MSComm1.written(), "!P00 ");
    EXPECT_FALSE(rig.ui.MSComm1.isOpen());
    EXPECT_EQ(rig.ui.MSComm1.closes(), closes + 1);
    EXPECT_EQ(rig.store.values["Settings/BaudRate"], "19200");
    EXPECT_EQ(rig.store.values["Settings/LogOption0"], "True");
    EXPECT_EQ(rig.store.writes().size(), 18u);
}

TEST(Startup, HeldBackBoxesBecomeEvents) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.ui.MSComm1.open();
    // A bad record's box is open while another bad record arrives.
    rig.dialogs.whileOpen = [&] {
        rig.dialogs.whileOpen = nullptr;
        rig.ui.MSComm1.receive(":\x03T 0A1B 6000 6000 5000 3000 2001 6000 2000\r\n");
        rig.ui.tmrCheckSerialInput.fire();
    };
    rig.ui.MSComm1.receive(":\x03T 0A1B 6000 6000 5000 3000 2001 6000 2001\r\n");
    rig.ui.tmrCheckSerialInput.fire();
    rig.pump.runPosted();
    EXPECT_EQ(rig.dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(rig.dialogs.messages().size(), 1u);
    const std::string last = rig.events().back();
    EXPECT_EQ(last.rfind("(message not shown) processQuorvaneRecord: Error decoding to Quorvane "
                         "data. / Input   : 0A1B 6000 6000",
                         0),
              0u)
        << last;
}

const std::string kGoodRecord = ":\x03T 0001 2A80 0380 1000 1100 1200 1300 1400\r\n";
const std::string kBadRecord = ":\x03T 0A1B 6000 6000 5000 3000 2001 6000 2001\r\n";

TEST(DataPath, RecordsArrivingWhileABoxOfThePassIsOpenAreLoggedAtOnceWithTheirOwnStamps) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.ui.MSComm1.open();
    const std::string dataFile = "/opt/quorvane/Quorvane";

    rig.ui.MSComm1.receive(kBadRecord);
    rig.timeline.advance(250);
    // The pass raised no box itself: it comes once the tick has returned.
    EXPECT_TRUE(rig.dialogs.messages().empty());
    std::vector<std::string> linesWhileOpen;
    std::string paneWhileOpen;
    rig.dialogs.whileOpen = [&] {
        rig.dialogs.whileOpen = nullptr;
        for (int i = 0; i < 3; ++i) {
            rig.ui.MSComm1.receive(kGoodRecord);
            rig.timeline.advance(1000);
        }
        std::istringstream in(rig.files.content(dataFile));
        for (std::string line; std::getline(in, line);) {
            linesWhileOpen.push_back(line);
        }
        paneWhileOpen = rig.ui.txtComsDisplay.text();
    };
    rig.pump.runPosted();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text.rfind("processQuorvaneRecord:", 0), 0u);

    // Logged while the box was open, a second apart as they came, each with its own stamp.
    ASSERT_EQ(linesWhileOpen.size(), 3u);
    for (std::size_t i = 1; i < linesWhileOpen.size(); ++i) {
        EXPECT_LT(linesWhileOpen[i - 1].substr(0, 20), linesWhileOpen[i].substr(0, 20));
    }
    EXPECT_EQ(occurrences(paneWhileOpen, kGoodRecord), 3u);
}

TEST(DataPath, ChoosingANewFileSettlesTheLinesHeldForTheOldOneAndReportsEachFailingFile) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.ui.MSComm1.open();
    const std::string oldFile = "/opt/quorvane/Quorvane";
    rig.files.failing.emplace(oldFile, Failure(28, "No space left on device"));
    rig.ui.MSComm1.receive(kGoodRecord + kGoodRecord);
    rig.timeline.advance(250);
    rig.ui.MSComm1.receive(kGoodRecord);
    rig.timeline.advance(250);
    rig.pump.runPosted();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(controller.dataLog().heldLines(), 2u); // one per pass: a failed write ends it

    // The old file is writable again only for its first held line.
    rig.files.failing.clear();
    rig.ui.CommonDialog1.answer = "/data/new.log";
    std::size_t writes = 0;
    rig.files.onAppend = [&](const std::string& path) {
        if (path == oldFile && ++writes == 2) {
            rig.files.failing.emplace(oldFile, Failure(28, "No space left on device"));
        }
    };
    rig.ui.cmdNewRun.click();
    rig.files.onAppend = nullptr;
    EXPECT_EQ(rig.events().back(),
              "Held data lines: 1 written to " + oldFile + ", 1 could not be written.");
    EXPECT_EQ(controller.dataLog().heldLines(), 0u);

    rig.files.failing.erase(oldFile);
    rig.files.failing.emplace("/data/new.log", Failure(30, "Read-only file system"));
    rig.ui.MSComm1.receive(kGoodRecord);
    rig.timeline.advance(250);
    rig.pump.runPosted();
    // The new file's failure has a box of its own; the old file got nothing more.
    ASSERT_EQ(rig.dialogs.messages().size(), 2u);
    EXPECT_EQ(rig.dialogs.messages()[1].text,
              "logToFile: Error writing data to logfile.\r\n30  Read-only file system");
    EXPECT_EQ(occurrences(rig.files.content(oldFile), "\r\n"), 1u);
}

// A stop (the window closed from outside) while a box of the load is open.
struct StopCase {
    const char* name;
    std::function<void(StartupRig&)> fault;
    bool settingsComplete;
};

void PrintTo(const StopCase& c, std::ostream* out) {
    *out << c.name;
}

class StopDuringLoad : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopDuringLoad, OneShutdownNothingHalfLoadedSavedAndTheLoadEnds) {
    const StopCase& c = GetParam();
    StartupRig rig;
    rig.store.values["Settings/HeatDelay"] = "30";
    rig.store.values["Settings/LogOption1"] = "True";
    c.fault(rig);
    MainController controller(rig.ui.view(), rig.services);
    std::string writtenBeforeStop;
    rig.dialogs.whileOpen = [&] {
        rig.dialogs.whileOpen = nullptr;
        writtenBeforeStop = rig.ui.MSComm1.written();
        controller.unload();
    };
    controller.load();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_TRUE(controller.isUnloaded());

    // The heater off of the shutdown is the last thing the instrument got.
    EXPECT_EQ(rig.ui.MSComm1.written(), writtenBeforeStop + "!P00 ");
    EXPECT_FALSE(rig.ui.MSComm1.isOpen());
    if (c.settingsComplete) {
        EXPECT_EQ(rig.store.values["Settings/HeatDelay"], "30");
        EXPECT_EQ(rig.store.writes().size(), 18u);
    } else {
        EXPECT_TRUE(rig.store.writes().empty());
    }
    // The rest of the load did not run.
    EXPECT_EQ(rig.ui.frmMain.caption(), "Quorvane");
    for (const Timer* timer :
         {static_cast<Timer*>(&rig.ui.tmrCheckSerialInput),
          static_cast<Timer*>(&rig.ui.tmrOneSecond), static_cast<Timer*>(&rig.ui.tmrLogInterval)}) {
        EXPECT_FALSE(timer->isEnabled());
    }
    const int appends = rig.files.appends();
    rig.ui.MSComm1.receive(kGoodRecord);
    rig.timeline.advance(5000);
    rig.pump.runPosted();
    EXPECT_EQ(rig.files.appends(), appends);
    EXPECT_EQ(rig.dialogs.messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(LoadBoxes, StopDuringLoad,
                         // The load's boxes open once its commands have gone out, so the
                         // settings have all been read by then.
                         ::testing::Values(StopCase{"EventLogUnwritable",
                                                    [](StartupRig& rig) {
                                                        rig.files.failing.emplace(
                                                            "/opt/quorvane/QuorvaneEvents.log",
                                                            Failure(30, "Read-only file system"));
                                                    },
                                                    true},
                                           StopCase{"StoredPortAbsent",
                                                    [](StartupRig& rig) {
                                                        rig.ui.MSComm1.failSetPort =
                                                            Failure(2, "No such file or directory");
                                                    },
                                                    true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The window's owner wires the watch to the parsing pass and to the port menu.
TEST(RecordWatchWiring, LoggedRecordsEndASilenceAndAPortChangeEndsTheWatch) {
    StartupRig rig;
    MainController controller(rig.ui.view(), rig.services);
    controller.load();
    rig.ui.chkHeaterEnabled.setChecked(true);
    rig.ui.txtLogInterval.setText("1");
    rig.ui.txtHeatDelay.setText("3600");
    rig.ui.CommonDialog1.answer = "/data/run.log";
    rig.ui.cmdNewRun.click();
    rig.ui.cmdRun.click();
    ASSERT_TRUE(controller.flags().runInProgress);
    const std::size_t before = rig.events().size();
    auto newEvents = [&] {
        const std::vector<std::string> all = rig.events();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(before),
                                        all.end());
    };

    rig.timeline.advance(12000);
    rig.ui.MSComm1.receive(":\x03T 0000 2A80 0380 1000 1000 1000 1000 1000\r\n");
    rig.timeline.advance(250); // one poll tick
    EXPECT_EQ(newEvents(),
              (std::vector<std::string>{"No data record received for 10 seconds.",
                                        "Data records received again after 12 seconds."}));
    EXPECT_EQ(rig.ui.txtLoggedDataDisplay.text().size(), 65u);

    controller.menuClicked(SerialMenu::Port, 3);
    EXPECT_FALSE(controller.run().watchdog().isWatching());
    const std::size_t told = newEvents().size();
    rig.timeline.advance(60000);
    const std::vector<std::string> later = newEvents();
    for (std::size_t i = told; i < later.size(); ++i) {
        const std::string& e = later[i];
        EXPECT_EQ(e.find("No data record"), std::string::npos);
    }
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

} // namespace
} // namespace quorvane
