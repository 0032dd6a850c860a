#include "E2eRig.h"

#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

template <typename T> T* control(E2eRig& rig, const char* name) {
    T* widget = rig.host->window().findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Initialize with a chosen file, then Start Run with log 1 s, delay 1 s, heat 2 s, level
// 120 and heater commands allowed; Finish after about six seconds.
void wholeRun(E2eRig& rig, bool logTemperature) {
    ASSERT_TRUE(rig.simulator->started());
    rig.host->start();
    const std::string dataFile = rig.path("run.log");
    rig.chooser.answer = dataFile;
    rig.chooser.answerFilterIndex = 1;
    control<QLineEdit>(rig, "txtLogInterval")->setText("1");
    control<QLineEdit>(rig, "txtHeatDelay")->setText("1");
    control<QLineEdit>(rig, "txtHeatTime")->setText("2");
    control<QLineEdit>(rig, "txtHeatLevel")->setText("120");
    control<QRadioButton>(rig, logTemperature ? "Option1(1)" : "Option1(0)")->setChecked(true);
    control<QCheckBox>(rig, "chkHeaterEnabled")->setChecked(true);
    ASSERT_TRUE(
        E2eRig::runUntil([&] { return !rig.view().lblInstrumentID->caption().empty(); }, 3000));
    control<QPushButton>(rig, "cmdNewRun")->click();
    EXPECT_EQ(rig.view().StatusBar1[6]->text(), "Stopped");
    control<QPushButton>(rig, "cmdRun")->click();
    EXPECT_EQ(rig.view().StatusBar1[6]->text(), "Running - Heater OFF");
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return rig.view().StatusBar1[6]->text() == "Running - Heater ON"; }, 3000));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return rig.view().StatusBar1[6]->text() == "Running - Heater OFF"; }, 4000));
    E2eRig::run(2500);
    control<QPushButton>(rig, "cmdFinish")->click();
    E2eRig::run(600); // the last answers arrive
    EXPECT_TRUE(rig.dialogs.texts().empty()) << rig.dialogs.texts().front();
}

TEST(WholeRun, RawHexLinesWithTheHeaterColumnAndTheCommandsInOrder) {
    E2eRig rig;
    wholeRun(rig, false);
    const std::vector<std::string> lines = E2eRig::lines(rig.path("run.log"));
    ASSERT_GE(lines.size(), 11u + 4u);
    EXPECT_EQ(lines[0], "# Instrument: 0417");
    EXPECT_EQ(lines[1], "# Firmware: Ver 2.31");
    EXPECT_EQ(lines[2], "# Delay: 1");
    EXPECT_EQ(lines[5], "# HeaterEnabled: Yes");
    EXPECT_EQ(lines[6], "# DataType: RawHex");
    EXPECT_EQ(lines[9], "# Logfile: " + rig.path("run.log"));
    EXPECT_EQ(lines[10], "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr");

    // One line per record the simulator sent, in order, each exactly once.
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    std::vector<std::string> payloads;
    bool sawHeaterOn = false;
    for (std::size_t i = 11; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_EQ(line.size() >= 63, true) << line;
        payloads.push_back(line.substr(21, 40));
        const std::string heater = line.substr(62);
        EXPECT_TRUE(heater == "0" || heater == "120") << line;
        sawHeaterOn |= heater == "120";
    }
    EXPECT_TRUE(sawHeaterOn);
    EXPECT_EQ(payloads, sent);

    std::vector<std::string> commands = rig.simulator->commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(commands[0], "#HFN");
    EXPECT_EQ(commands[1], "#HFH");
    const auto on = std::find(commands.begin(), commands.end(), "!Q0002 78 ");
    ASSERT_NE(on, commands.end());
    EXPECT_NE(std::find(on, commands.end(), "!P00 "), commands.end());
    EXPECT_GE(std::count(commands.begin(), commands.end(), "T"), 5);

    // The window shows the simulator's last record, decoded.
    RecordDecoder decoder(rig.dialogs);
    decoder.decode(sent.back());
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rig.view().lblTemperature[i]->caption(),
                  formatTemperature(decoder.temperatureC[i]));
    }
    EXPECT_EQ(rig.view().StatusBar1[6]->text(), "Waiting");
    EXPECT_NE(rig.events().find("END RUN. Elapsed time:"), std::string::npos);
}

TEST(WholeRun, TemperatureLayout) {
    E2eRig rig;
    wholeRun(rig, true);
    const std::vector<std::string> lines = E2eRig::lines(rig.path("run.log"));
    ASSERT_GE(lines.size(), 15u);
    EXPECT_EQ(lines[6], "# DataType: Temperature");
    EXPECT_EQ(lines[10], "# Date        Time     TTop    T2     T3     T4    TBot Htr");
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    ASSERT_EQ(lines.size() - 11, sent.size());
    for (std::size_t i = 11; i < lines.size(); ++i) {
        RecordDecoder decoder(rig.dialogs);
        decoder.decode(sent[i - 11]);
        std::string expected;
        for (std::size_t c = 0; c < 5; ++c) {
            expected += " " + formatTemperature(decoder.temperatureC[c]);
        }
        EXPECT_EQ(lines[i].substr(20, expected.size() + 1), " " + expected) << lines[i];
    }
}

} // namespace
} // namespace quorvane::e2e
