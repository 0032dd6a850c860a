#include "fakes/FakeAppInfo.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTextFiles.h"
#include "platform/Failure.h"
#include "shell/MainController.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

// The window's owner on fakes, as the real window builds it.
struct StartupRig {
    StartupRig() {
        services.clock = &clock;
        services.files = &files;
        services.dialogs = &dialogs;
        services.settings = &store;
        services.app = &app;
        services.events = &pump;
        services.recordWatchTimer = &watchTimer;
    }
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        std::istringstream in(ui.txtEventLog.text());
        std::string line;
        while (std::getline(in, line)) {
            out.push_back(line.substr(22, line.size() - 23)); // drop stamp and CR
        }
        return out;
    }

    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeMainView ui{timeline};
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeSettingsStore store;
    fakes::FakeAppInfo app{"/opt/quorvane"};
    fakes::FakeEventPump pump;
    fakes::FakeTimer watchTimer{timeline};
    Services services;
};

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
    ASSERT_FALSE(rig.dialogs.messages().empty());
    EXPECT_EQ(rig.dialogs.messages().front().text,
              "SendCommand: Error sending command to Quorvane.\r\nCommand   :#HFN\r\n"
              "2  No such file or directory");
    bool portMessage = false;
    for (const auto& m : rig.dialogs.messages()) {
        portMessage |= m.text == "Error setting serial port:COM3\r\n2  No such file or directory";
    }
    EXPECT_TRUE(portMessage);
    EXPECT_EQ(rig.ui.frmMain.caption(), "Kelmont Quorvane  Vsn:1.0.6");
    EXPECT_EQ(rig.ui.StatusBar1[6].text(), "Waiting");
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
    EXPECT_EQ(rig.dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(rig.dialogs.messages().size(), 1u);
    const std::string last = rig.events().back();
    EXPECT_EQ(last.rfind("(message not shown) processQuorvaneRecord: Error decoding to Quorvane "
                         "data. / Input   : 0A1B 6000 6000",
                         0),
              0u)
        << last;
}

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
