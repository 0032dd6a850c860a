#include "RunRig.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>

namespace quorvane::testing {
namespace {

using FieldMember = fakes::FakeTextField fakes::FakeMainView::*;

enum class Period { LogInterval, HeatDelay, HeatTime, None };

struct EntryCase {
    const char* name;
    FieldMember field;
    Period period;
    const char* text;
    // nullopt: refused with `message`.
    std::optional<double> taken;
    const char* message;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

const char* const kLog = "Log Interval must be a positive integer seconds between 0 and 64";
const char* const kDelay = "Heat Delay must be a positive integer seconds between 0 and 86400";
const char* const kTime = "HeatTime must be a positive integer seconds between 0 and 86400";
const char* const kLevel = "Heat level must be a positive integer seconds between 0 and 200";

constexpr FieldMember kLogField = &fakes::FakeMainView::txtLogInterval;
constexpr FieldMember kDelayField = &fakes::FakeMainView::txtHeatDelay;
constexpr FieldMember kTimeField = &fakes::FakeMainView::txtHeatTime;
constexpr FieldMember kLevelField = &fakes::FakeMainView::txtHeatLevel;

// The period a timer has before the field is left, so that a refusal shows as no change.
constexpr int kOldLogPeriod = 7000;
constexpr float kOldHeatPeriod = 7.0f;

double periodOf(RunRig& rig, Period period) {
    switch (period) {
    case Period::LogInterval:
        return rig.ui.tmrLogInterval.interval();
    case Period::HeatDelay:
        return rig.ui.tmrHeatDelay.interval();
    case Period::HeatTime:
        return rig.ui.tmrHeatTime.interval();
    case Period::None:
        break;
    }
    return 0;
}

class ParameterField : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ParameterField, CheckedWhenLeft) {
    RunRig rig;
    const EntryCase& c = GetParam();
    fakes::FakeTextField& field = rig.ui.*c.field;
    rig.ui.tmrLogInterval.setInterval(kOldLogPeriod);
    rig.ui.tmrHeatDelay.setInterval(kOldHeatPeriod);
    rig.ui.tmrHeatTime.setInterval(kOldHeatPeriod);

    field.focusIn();
    EXPECT_EQ(field.background(), colors::highlight);
    EXPECT_EQ(field.selectionStart(), 0);
    EXPECT_EQ(field.selectionLength(), static_cast<int>(field.text().size()));
    field.setText(c.text);
    rig.dialogs.clear();
    field.focusOut();

    if (c.taken) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
        EXPECT_EQ(rig.dialogs.beeps(), 0);
        EXPECT_EQ(field.background(), colors::white);
        EXPECT_FALSE(field.hasFocus());
        if (c.period != Period::None) {
            EXPECT_DOUBLE_EQ(periodOf(rig, c.period), *c.taken);
        }
    } else {
        ASSERT_EQ(rig.dialogs.messages().size(), 1u);
        EXPECT_EQ(rig.dialogs.messages()[0].text, c.message);
        EXPECT_EQ(rig.dialogs.messages()[0].title, "");
        EXPECT_EQ(rig.dialogs.beeps(), 1);
        EXPECT_TRUE(field.hasFocus());
        EXPECT_EQ(field.background(), colors::highlight);
        EXPECT_EQ(field.selectionLength(), static_cast<int>(std::string(c.text).size()));
        EXPECT_EQ(field.text(), c.text);
        EXPECT_EQ(rig.ui.tmrLogInterval.interval(), kOldLogPeriod);
        EXPECT_FLOAT_EQ(rig.ui.tmrHeatDelay.interval(), kOldHeatPeriod);
        EXPECT_FLOAT_EQ(rig.ui.tmrHeatTime.interval(), kOldHeatPeriod);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ParameterField,
    ::testing::Values(
        EntryCase{"Log0", kLogField, Period::LogInterval, "0", 0, nullptr},
        EntryCase{"Log64", kLogField, Period::LogInterval, "64", 64000, nullptr},
        EntryCase{"Log65", kLogField, Period::LogInterval, "65", std::nullopt, kLog},
        EntryCase{"LogMinus1", kLogField, Period::LogInterval, "-1", std::nullopt, kLog},
        EntryCase{"LogDecimal", kLogField, Period::LogInterval, "1.5", std::nullopt, kLog},
        EntryCase{"LogExponent", kLogField, Period::LogInterval, "1e3", std::nullopt, kLog},
        EntryCase{"LogExponentUpper", kLogField, Period::LogInterval, "1E3", std::nullopt, kLog},
        EntryCase{"LogBlanks", kLogField, Period::LogInterval, " 12 ", 12000, nullptr},
        EntryCase{"LogEmpty", kLogField, Period::LogInterval, "", std::nullopt, kLog},
        EntryCase{"Delay0", kDelayField, Period::HeatDelay, "0", 0, nullptr},
        EntryCase{"Delay86400", kDelayField, Period::HeatDelay, "86400", 86400, nullptr},
        EntryCase{"Delay86401", kDelayField, Period::HeatDelay, "86401", std::nullopt, kDelay},
        EntryCase{"DelayHuge", kDelayField, Period::HeatDelay, "99999999999", std::nullopt, kDelay},
        EntryCase{"DelayEmpty", kDelayField, Period::HeatDelay, "", std::nullopt, kDelay},
        EntryCase{"Time86400", kTimeField, Period::HeatTime, "86400", 86400, nullptr},
        EntryCase{"Time86401", kTimeField, Period::HeatTime, "86401", std::nullopt, kTime},
        EntryCase{"TimeExponent", kTimeField, Period::HeatTime, "1E3", std::nullopt, kTime},
        EntryCase{"Level200", kLevelField, Period::None, "200", 200, nullptr},
        EntryCase{"Level201", kLevelField, Period::None, "201", std::nullopt, kLevel},
        EntryCase{"LevelMinus1", kLevelField, Period::None, "-1", std::nullopt, kLevel},
        EntryCase{"LevelEmpty", kLevelField, Period::None, "", std::nullopt, kLevel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParameterField, HeatLevelTouchesNoTimer) {
    RunRig rig;
    rig.ui.tmrLogInterval.setInterval(kOldLogPeriod);
    rig.ui.tmrHeatDelay.setInterval(kOldHeatPeriod);
    rig.ui.tmrHeatTime.setInterval(kOldHeatPeriod);
    rig.ui.txtHeatLevel.focusIn();
    rig.ui.txtHeatLevel.setText("150");
    rig.ui.txtHeatLevel.focusOut();
    EXPECT_EQ(rig.ui.tmrLogInterval.interval(), kOldLogPeriod);
    EXPECT_FLOAT_EQ(rig.ui.tmrHeatDelay.interval(), kOldHeatPeriod);
    EXPECT_FLOAT_EQ(rig.ui.tmrHeatTime.interval(), kOldHeatPeriod);
}

TEST(ParameterField, EditAfterAFinishedRunAbandonsIt) {
    RunRig rig;
    rig.ready("0", "1", "1");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(3);
    rig.ui.cmdFinish.click();
    ASSERT_TRUE(rig.ui.cmdResume.isEnabled());
    rig.forget();
    rig.ui.txtHeatTime.focusIn();
    rig.ui.txtHeatTime.type("2");
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Initialize");
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);
}

} // namespace
} // namespace quorvane::testing
