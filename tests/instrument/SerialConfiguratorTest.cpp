#include "instrument/SerialConfigurator.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeTextFiles.h"
#include "logging/EventLog.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

class SerialConfiguratorTest : public ::testing::Test {
protected:
    SerialConfiguratorTest() {
        const char* defaults[] = {"", "COM2", "9600", "N", "8", "1"};
        for (int i = 1; i <= 5; ++i) {
            ui.StatusBar1[i].setText(defaults[i]);
        }
    }
    std::string panels() const {
        std::string out;
        for (int i = 1; i <= 5; ++i) {
            out += ui.StatusBar1[i].text() + "|";
        }
        return out;
    }

    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeMainView ui{timeline};
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    EventLog eventLog{clock, sysTime, ui.txtEventLog, files, dialogs, "/q/QuorvaneEvents.log"};
    SerialConfigurator serial{ui.view(), eventLog, dialogs};
};

TEST(SerialMenuTable, EveryItemWritesItsText) {
    struct Case {
        SerialMenu menu;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {SerialMenu::Port, {"COM1", "COM2", "COM3", "COM4"}},
        {SerialMenu::BaudRate, {"28800", "19200", "14400", "9600", "4800", "2400", "1200"}},
        {SerialMenu::Parity, {"O", "E", "M", "S", "N"}},
        {SerialMenu::DataBits, {"7", "8"}},
        {SerialMenu::StopBits, {"1", "2"}},
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(SerialConfigurator::menuText(c.menu, static_cast<int>(i) + 1), c.texts[i]);
        }
        EXPECT_EQ(SerialConfigurator::menuText(c.menu, 0), std::nullopt);
        EXPECT_EQ(SerialConfigurator::menuText(c.menu, static_cast<int>(c.texts.size()) + 1),
                  std::nullopt);
    }
}

TEST_F(SerialConfiguratorTest, DefaultsOpenPortTwoAndLogTheEvent) {
    serial.configureSerialPort();
    EXPECT_TRUE(ui.MSComm1.isOpen());
    EXPECT_EQ(ui.MSComm1.portNumber(), 2);
    EXPECT_EQ(ui.MSComm1.settings(), "9600,N,8,1");
    EXPECT_EQ(ui.txtEventLog.text(),
              "07-Dec-2026 13:51:10: Configured Serial Port: COM2 9600,N,8,1\r\n");
}

TEST_F(SerialConfiguratorTest, MenuChoicesBuildTheSettingsStringAndReopen) {
    serial.configureSerialPort();
    serial.menuClicked(SerialMenu::Parity, 3);
    EXPECT_EQ(ui.MSComm1.settings(), "9600,M,8,1");
    serial.menuClicked(SerialMenu::BaudRate, 1);
    EXPECT_EQ(ui.MSComm1.settings(), "28800,M,8,1");
    serial.menuClicked(SerialMenu::Port, 2); // the port already in force: closed and reopened
    EXPECT_EQ(ui.MSComm1.closes(), 3);
    EXPECT_EQ(ui.MSComm1.opens(), 4);
    serial.menuClicked(SerialMenu::DataBits, 9); // unknown index: nothing written, reconfigured
    EXPECT_EQ(panels(), "COM2|28800|M|8|1|");
    EXPECT_EQ(ui.MSComm1.opens(), 5);
}

TEST_F(SerialConfiguratorTest, PanelsReachTheSettingsUntrimmed) {
    ui.StatusBar1[2].setText(" 9600");
    serial.configureSerialPort();
    EXPECT_EQ(ui.MSComm1.settings(), " 9600,N,8,1");
}

struct BadPort {
    const char* name;
    const char* panel1;
    std::function<void(fakes::FakeSerialPort&)> arrange;
    const char* message;
};

TEST_F(SerialConfiguratorTest, FailuresShowTheMessageAndLeaveThePortClosed) {
    const BadPort cases[] = {
        {"NotADigit", "COMX", nullptr, "Error setting serial port:COMX\r\n13  Type mismatch"},
        {"TrailingBlank", "COM2 ", nullptr, "Error setting serial port:COM2 \r\n13  Type mismatch"},
        {"PortZero", "COM10", nullptr,
         "Error setting serial port:COM10\r\n8002  Invalid port number"},
        {"MissingDevice", "COM3",
         [](fakes::FakeSerialPort& p) { p.failOpen = Failure(2, "No such file or directory"); },
         "Error setting serial port:COM3\r\n2  No such file or directory"},
        {"BadSettings", "COM2",
         [](fakes::FakeSerialPort& p) { p.failSetSettings = Failure(8010, "Invalid baud rate"); },
         "Error setting serial port:COM2\r\n8010  Invalid baud rate"},
    };
    for (const BadPort& c : cases) {
        ui.MSComm1.failOpen.reset();
        ui.MSComm1.failSetSettings.reset();
        ui.MSComm1.open();
        if (c.arrange) {
            c.arrange(ui.MSComm1);
        }
        dialogs.clear();
        const std::string eventsBefore = ui.txtEventLog.text();
        ui.StatusBar1[1].setText(c.panel1);
        serial.configureSerialPort();
        ASSERT_EQ(dialogs.messages().size(), 1u) << c.name;
        EXPECT_EQ(dialogs.messages()[0].text, c.message) << c.name;
        EXPECT_EQ(dialogs.messages()[0].title, "Quorvane");
        EXPECT_EQ(dialogs.messages()[0].icon, MessageIcon::None);
        EXPECT_FALSE(ui.MSComm1.isOpen()) << c.name;
        EXPECT_EQ(ui.StatusBar1[1].text(), c.panel1);
        EXPECT_EQ(ui.txtEventLog.text(), eventsBefore) << c.name;
    }
}

TEST_F(SerialConfiguratorTest, LostDeviceLogsOneEvent) {
    serial.configureSerialPort();
    ui.MSComm1.loseDevice("Resource error");
    EXPECT_NE(ui.txtEventLog.text().find(": Serial port lost: COM2 Resource error\r\n"),
              std::string::npos);
    EXPECT_FALSE(ui.MSComm1.isOpen());
}

} // namespace
} // namespace quorvane
