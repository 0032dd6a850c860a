#include "RunRig.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>

namespace quorvane::testing {
namespace {

struct Look {
    bool enabled;
    Color background;
    std::optional<std::string> caption;
};

enum class Focus { None, Run, Finish };

struct StateRow {
    const char* name;
    std::int16_t state;
    bool heatCycleComplete;
    bool unlocked;
    Look newRun, run, resume, finish;
    // nullopt: the label keeps its text.
    std::optional<std::string> elapsed, delayRemaining, timeRemaining;
    bool loggedPaneEmptied;
    std::string status;
    std::string picture;
    Focus focus;
};

void PrintTo(const StateRow& c, std::ostream* os) {
    *os << c.name;
}

const Look kOff{false, colors::face, std::nullopt};

class StateTable : public ::testing::TestWithParam<StateRow> {};

TEST_P(StateTable, AppliesTheWholeRow) {
    RunRig rig;
    const StateRow& row = GetParam();
    auto& ui = rig.ui;
    // Start from the opposite look so that every setting shows.
    rig.run.setGuiState(row.unlocked ? 3 : 1);
    ui.txtHeatDelay.setText("120");
    ui.txtHeatTime.setText("30");
    for (auto* label : {&ui.lblElapsedTime, &ui.lblHeatDelayRemaining, &ui.lblHeatTimeRemaining}) {
        label->setCaption("kept");
    }
    ui.txtLoggedDataDisplay.setText("old data\r\n");
    rig.flags.heatCycleComplete = row.heatCycleComplete;
    const int runFocus = ui.cmdRun.focusRequests();
    const int finishFocus = ui.cmdFinish.focusRequests();

    rig.run.setGuiState(row.state);

    EXPECT_EQ(ui.Frame1.isEnabled(), row.unlocked);
    const Color fieldBackground = row.unlocked ? colors::white : colors::face;
    for (auto* field : {&ui.txtLogInterval, &ui.txtHeatDelay, &ui.txtHeatTime, &ui.txtHeatLevel}) {
        EXPECT_EQ(field->background(), fieldBackground);
    }
    EXPECT_EQ(ui.Option1[0].isEnabled(), row.unlocked);
    EXPECT_EQ(ui.Option1[1].isEnabled(), row.unlocked);
    EXPECT_EQ(ui.chkHeaterEnabled.isEnabled(), row.unlocked);

    const std::pair<fakes::FakeButton*, Look> buttons[] = {{&ui.cmdNewRun, row.newRun},
                                                           {&ui.cmdRun, row.run},
                                                           {&ui.cmdResume, row.resume},
                                                           {&ui.cmdFinish, row.finish}};
    for (const auto& [button, look] : buttons) {
        SCOPED_TRACE(button->caption());
        EXPECT_EQ(button->isEnabled(), look.enabled);
        EXPECT_EQ(button->background(), look.background);
        if (look.caption) {
            EXPECT_EQ(button->caption(), *look.caption);
        }
    }
    EXPECT_EQ(ui.cmdRun.caption(), "Start Run");
    EXPECT_EQ(ui.cmdResume.caption(), "Resume");

    EXPECT_EQ(ui.lblElapsedTime.caption(), row.elapsed.value_or("kept"));
    EXPECT_EQ(ui.lblHeatDelayRemaining.caption(), row.delayRemaining.value_or("kept"));
    EXPECT_EQ(ui.lblHeatTimeRemaining.caption(), row.timeRemaining.value_or("kept"));
    EXPECT_EQ(ui.txtLoggedDataDisplay.text(), row.loggedPaneEmptied ? "" : "old data\r\n");
    EXPECT_EQ(rig.status(), row.status);
    EXPECT_EQ(ui.StatusBar1[6].picturePath(), "/opt/quorvane/icons/" + row.picture);
    EXPECT_EQ(ui.cmdRun.focusRequests() - runFocus, row.focus == Focus::Run ? 1 : 0);
    EXPECT_EQ(ui.cmdFinish.focusRequests() - finishFocus, row.focus == Focus::Finish ? 1 : 0);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, StateTable,
                         ::testing::Values(StateRow{"Idle",
                                                    0,
                                                    false,
                                                    true,
                                                    {true, colors::green, "Initialize"},
                                                    kOff,
                                                    kOff,
                                                    {false, colors::face, "Finish"},
                                                    "",
                                                    "",
                                                    "",
                                                    false,
                                                    "Waiting",
                                                    "nolight.bmp",
                                                    Focus::None},
                                           StateRow{"Ready",
                                                    1,
                                                    false,
                                                    true,
                                                    {true, colors::face, "Initialize"},
                                                    {true, colors::green, std::nullopt},
                                                    kOff,
                                                    {false, colors::face, "Finish"},
                                                    "0",
                                                    "120",
                                                    "30",
                                                    true,
                                                    "Stopped",
                                                    "nolight.bmp",
                                                    Focus::Run},
                                           StateRow{"Running",
                                                    3,
                                                    false,
                                                    false,
                                                    {false, colors::face, "Initialize"},
                                                    kOff,
                                                    kOff,
                                                    {true, colors::green, "Finish"},
                                                    std::nullopt,
                                                    std::nullopt,
                                                    std::nullopt,
                                                    false,
                                                    "Running - Heater OFF",
                                                    "greenlight.bmp",
                                                    Focus::Finish},
                                           StateRow{"Heating",
                                                    4,
                                                    false,
                                                    false,
                                                    {false, colors::face, "Initialize"},
                                                    kOff,
                                                    kOff,
                                                    {true, colors::red, "Finish (heats on)"},
                                                    std::nullopt,
                                                    std::nullopt,
                                                    std::nullopt,
                                                    false,
                                                    "Running - Heater ON",
                                                    "redlight.bmp",
                                                    Focus::Finish},
                                           StateRow{"FinishedMidCycle",
                                                    5,
                                                    false,
                                                    true,
                                                    {true, colors::green, "Next Run"},
                                                    kOff,
                                                    kOff,
                                                    {false, colors::face, "Finish"},
                                                    std::nullopt,
                                                    std::nullopt,
                                                    std::nullopt,
                                                    false,
                                                    "Waiting",
                                                    "nolight.bmp",
                                                    Focus::None},
                                           StateRow{"FinishedAfterCycle",
                                                    5,
                                                    true,
                                                    true,
                                                    {true, colors::green, "Next Run"},
                                                    kOff,
                                                    {true, colors::green, std::nullopt},
                                                    {false, colors::face, "Finish"},
                                                    std::nullopt,
                                                    std::nullopt,
                                                    std::nullopt,
                                                    false,
                                                    "Waiting",
                                                    "nolight.bmp",
                                                    Focus::None}),
                         [](const auto& info) { return std::string(info.param.name); });

class InvalidState : public ::testing::TestWithParam<std::int16_t> {};

TEST_P(InvalidState, ShowsGuiErrorAndChangesNothingElse) {
    RunRig rig;
    auto& ui = rig.ui;
    rig.run.setGuiState(4);
    ui.lblElapsedTime.setCaption("17");
    const std::string picture = ui.StatusBar1[6].picturePath();

    rig.run.setGuiState(GetParam());

    EXPECT_EQ(rig.status(), "GUI Error!");
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text,
              "Un-recoverable error: invalid gui state: " + std::to_string(GetParam()));
    EXPECT_EQ(rig.dialogs.messages()[0].title, "Quorvane");
    EXPECT_EQ(rig.dialogs.messages()[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(ui.Frame1.isEnabled());
    EXPECT_FALSE(ui.cmdNewRun.isEnabled());
    EXPECT_TRUE(ui.cmdFinish.isEnabled());
    EXPECT_EQ(ui.cmdFinish.background(), colors::red);
    EXPECT_EQ(ui.cmdFinish.caption(), "Finish (heats on)");
    EXPECT_EQ(ui.lblElapsedTime.caption(), "17");
    EXPECT_EQ(ui.StatusBar1[6].picturePath(), picture);
}

INSTANTIATE_TEST_SUITE_P(States, InvalidState, ::testing::Values(2, -1, 6, 32767, -32768));

TEST(RunStateView, MissingPictureDoesNotStopTheStateChange) {
    RunRig rig;
    rig.ui.StatusBar1[6].setPictureLoads(false);
    const int focus = rig.ui.cmdRun.focusRequests();
    rig.run.setGuiState(1);
    EXPECT_EQ(rig.status(), "Stopped");
    EXPECT_EQ(rig.ui.StatusBar1[6].picturePath(), "/opt/quorvane/icons/nolight.bmp");
    EXPECT_EQ(rig.ui.cmdRun.focusRequests(), focus + 1);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST(RunStateView, FromHeatingToRunningTurnsFinishGreenAgain) {
    RunRig rig;
    rig.run.setGuiState(4);
    rig.ui.lblHeatTimeRemaining.setCaption("2");
    rig.run.setGuiState(3);
    EXPECT_EQ(rig.ui.cmdFinish.caption(), "Finish");
    EXPECT_EQ(rig.ui.cmdFinish.background(), colors::green);
    EXPECT_EQ(rig.ui.lblHeatTimeRemaining.caption(), "2");
}

} // namespace
} // namespace quorvane::testing
