#include "shell/PersistentSettings.h"
#include "fakes/FakeAppInfo.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeSettingsStore.h"
#include "logging/OutputFile.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

class PersistentSettingsTest : public ::testing::Test {
protected:
    PersistentSettingsTest() {
        for (auto* field :
             {&ui.txtLogInterval, &ui.txtHeatDelay, &ui.txtHeatTime, &ui.txtHeatLevel}) {
            field->onChanged([this] { ++changeReactions; });
        }
        ui.Option1[0].onClicked([this] { ++optionClicks; });
        ui.Option1[1].onClicked([this] { ++optionClicks; });
    }
    void set(const std::string& key, const std::string& value) {
        store.values["Settings/" + key] = value;
    }
    std::string stored(const std::string& key) { return store.values["Settings/" + key]; }

    fakes::FakeTimeline timeline;
    fakes::FakeMainView ui{timeline};
    fakes::FakeSettingsStore store;
    fakes::FakeAppInfo app{"/opt/quorvane"};
    OutputFile output;
    PersistentSettings settings{store, ui.view(), output, app};
    int changeReactions = 0;
    int optionClicks = 0;
};

TEST_F(PersistentSettingsTest, FirstStartGivesTheDefaultsInKeyOrder) {
    EXPECT_EQ(settings.loadSettings(), 1);
    const char* panels[] = {"", "COM2", "9600", "N", "8", "1"};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(ui.StatusBar1[i].text(), panels[i]);
    }
    EXPECT_EQ(ui.txtLogInterval.text(), "2");
    EXPECT_EQ(ui.txtHeatDelay.text(), "4");
    EXPECT_EQ(ui.txtHeatTime.text(), "6");
    EXPECT_EQ(ui.txtHeatLevel.text(), "8");
    EXPECT_EQ(changeReactions, 4); // each field changed from its designed "0"
    EXPECT_EQ(output.outputDirectory, "/opt/quorvane/");
    EXPECT_EQ(output.outputFileName, "Quorvane");
    EXPECT_EQ(output.outputFilterIndex, 0);
    EXPECT_TRUE(ui.Option1[0].isSelected());
    EXPECT_FALSE(ui.Option1[1].isSelected());
    EXPECT_EQ(optionClicks, 0); // "Log Hex" was already selected
    const std::vector<std::string> order = {"ComPort",
                                            "BaudRate",
                                            "Parity",
                                            "DataBits",
                                            "StopBits",
                                            "LogInterval",
                                            "HeatDelay",
                                            "HeatTime",
                                            "HeatLevel",
                                            "DefaultPath",
                                            "DefaultFileTypeIndex",
                                            "DefaultFilename",
                                            "LogOption0",
                                            "LogOption1"};
    EXPECT_EQ(store.reads(), order);
}

TEST_F(PersistentSettingsTest, RoundTripOfEveryKey) {
    ui.StatusBar1[1].setText("COM3");
    ui.StatusBar1[2].setText("19200");
    ui.StatusBar1[3].setText("E");
    ui.StatusBar1[4].setText("7");
    ui.StatusBar1[5].setText("2");
    ui.txtLogInterval.setText(" 5 ");
    ui.txtHeatDelay.setText("120");
    ui.txtHeatTime.setText("86400");
    ui.txtHeatLevel.setText("200");
    output = {"/home/op/data dir/", "run 7.txt", 2};
    ui.Option1[1].setSelected(true);
    ui.frmMain.setPlacement({1234.5, 900, 9000, 8000});
    EXPECT_EQ(settings.saveSettings(), 1);

    EXPECT_EQ(stored("LogInterval"), "5"); // trimmed
    EXPECT_EQ(stored("LogOption0"), "False");
    EXPECT_EQ(stored("LogOption1"), "True");
    EXPECT_EQ(stored("DefaultFileTypeIndex"), "2");
    EXPECT_EQ(stored("MainLeft"), "1234.5");
    EXPECT_EQ(stored("MainWidth"), "9000");
    EXPECT_EQ(store.writes().front(), "MainLeft");
    EXPECT_EQ(store.writes().back(), "LogOption1");
    EXPECT_EQ(store.writes().size(), 18u);

    fakes::FakeMainView fresh(timeline);
    OutputFile loaded;
    PersistentSettings again(store, fresh.view(), loaded, app);
    EXPECT_EQ(again.loadSettings(), 1);
    EXPECT_EQ(fresh.StatusBar1[1].text(), "COM3");
    EXPECT_EQ(fresh.StatusBar1[2].text(), "19200");
    EXPECT_EQ(fresh.txtLogInterval.text(), "5");
    EXPECT_EQ(fresh.txtHeatTime.text(), "86400");
    EXPECT_EQ(loaded.outputDirectory, "/home/op/data dir/");
    EXPECT_EQ(loaded.outputFileName, "run 7.txt");
    EXPECT_EQ(loaded.outputFilterIndex, 2);
    EXPECT_FALSE(fresh.Option1[0].isSelected());
    EXPECT_TRUE(fresh.Option1[1].isSelected());
}

struct StopCase {
    const char* key;
    const char* value;
    std::vector<std::string> notApplied;
};

TEST_F(PersistentSettingsTest, AConversionFailureStopsTheLoadAtThatKey) {
    const StopCase cases[] = {
        {"LogOption0", "yes", {"LogOption1"}},
        {"DefaultFileTypeIndex", "x", {"DefaultFilename", "LogOption0", "LogOption1"}},
        {"DefaultFileTypeIndex", "40000", {"DefaultFilename", "LogOption0", "LogOption1"}},
        {"LogOption1", "maybe", {}},
    };
    for (const StopCase& c : cases) {
        fakes::FakeSettingsStore s;
        s.values["Settings/" + std::string(c.key)] = c.value;
        s.values["Settings/LogOption1"] = std::string(c.key) == "LogOption1" ? c.value : "1";
        s.values["Settings/DefaultFilename"] = "kept-out";
        fakes::FakeMainView view(timeline);
        OutputFile out;
        PersistentSettings loader(s, view.view(), out, app);
        EXPECT_EQ(loader.loadSettings(), 0) << c.key;
        EXPECT_EQ(s.reads().back(), c.key);
        EXPECT_TRUE(view.Option1[0].isSelected()) << c.key; // designed selection kept
        EXPECT_FALSE(view.Option1[1].isSelected()) << c.key;
        if (std::string(c.key) == "DefaultFileTypeIndex") {
            EXPECT_EQ(out.outputFileName, "");
            EXPECT_EQ(out.outputFilterIndex, 0);
        }
        EXPECT_EQ(view.txtHeatLevel.text(), "8"); // keys before the failure stay applied
    }
}

TEST(SettingsConversions, BooleanAnd16BitReadings) {
    const std::pair<const char*, bool> booleans[] = {
        {"True", true}, {"false", false}, {"TRUE", true}, {"1", true},
        {"0", false},   {"-1", true},     {" 2.5 ", true}};
    for (const auto& [text, value] : booleans) {
        EXPECT_EQ(PersistentSettings::readBoolean(text), value) << text;
    }
    for (const char* bad : {"yes", "", "T", "1,0"}) {
        EXPECT_THROW(PersistentSettings::readBoolean(bad), Failure) << bad;
    }
    const std::pair<const char*, short> integers[] = {
        {"0", 0},   {"2.5", 2},       {"3.5", 4},        {"-2.5", -2},
        {" 7 ", 7}, {"32767", 32767}, {"-32768", -32768}};
    for (const auto& [text, value] : integers) {
        EXPECT_EQ(PersistentSettings::readInteger16(text), value) << text;
    }
    for (const char* bad : {"x", "32768", "", "1e9"}) {
        EXPECT_THROW(PersistentSettings::readInteger16(bad), Failure) << bad;
    }
}

TEST_F(PersistentSettingsTest, MinimisedWindowKeepsThePlacementKeys) {
    set("MainLeft", "111");
    ui.frmMain.setMinimized(true);
    EXPECT_EQ(settings.saveSettings(), 1);
    EXPECT_EQ(stored("MainLeft"), "111");
    EXPECT_EQ(store.writes().size(), 14u);
    EXPECT_EQ(store.writes().front(), "ComPort");
}

TEST_F(PersistentSettingsTest, AnUnreadableStoreGivesTheDefaults) {
    store.failOn = "ComPort";
    EXPECT_EQ(settings.loadSettings(), 1);
    EXPECT_EQ(ui.StatusBar1[1].text(), "COM2");
    EXPECT_EQ(ui.txtHeatLevel.text(), "8");
    EXPECT_TRUE(ui.Option1[0].isSelected());
}

TEST_F(PersistentSettingsTest, AStoreFailureStopsTheSaveSilently) {
    store.failOn = "HeatDelay";
    EXPECT_EQ(settings.saveSettings(), 0);
    EXPECT_EQ(store.writes().back(), "LogInterval");
}

} // namespace
} // namespace quorvane
