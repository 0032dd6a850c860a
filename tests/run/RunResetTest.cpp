// The reset that abandons a started run: what each change of a run parameter does.
#include "RunRig.h"

#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

TEST(RunReset, InReadyOnlySendsTheComsCheck) {
    RunRig rig;
    rig.ready("2", "120", "30");
    rig.run.resetRun();
    EXPECT_EQ(rig.status(), "Stopped");
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "120");
    EXPECT_TRUE(rig.ui.cmdRun.isEnabled());
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);
    EXPECT_EQ(rig.ui.MSComm1.writes(), kComsCheckWrites);
}

TEST(RunReset, AfterAFinishedRunReturnsToIdleAndWithdrawsResume) {
    RunRig rig;
    rig.ready("0", "1", "1");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(3);
    rig.ui.cmdFinish.click();
    ASSERT_TRUE(rig.ui.cmdResume.isEnabled());
    ASSERT_TRUE(rig.ui.tmrOneSecond.isEnabled());
    rig.forget();

    rig.ui.Option1[1].click();

    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_EQ(rig.ui.cmdNewRun.caption(), "Initialize");
    EXPECT_FALSE(rig.ui.cmdResume.isEnabled());
    EXPECT_EQ(rig.ui.lblElapsedTime.caption(), "");
    EXPECT_EQ(rig.ui.lblHeatDelayRemaining.caption(), "");
    EXPECT_EQ(rig.ui.lblHeatTimeRemaining.caption(), "");
    EXPECT_FALSE(rig.flags.runStarted);
    EXPECT_FALSE(rig.flags.heatCycleComplete);
    for (bool enabled : {rig.ui.tmrOneSecond.isEnabled(), rig.ui.tmrLogInterval.isEnabled(),
                         rig.ui.tmrHeatDelay.isEnabled(), rig.ui.tmrHeatTime.isEnabled()}) {
        EXPECT_FALSE(enabled);
    }
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);
}

TEST(RunReset, TypingThreeCharactersGivesThreeComsChecks) {
    RunRig rig;
    rig.ready("2", "0", "30");
    rig.ui.txtHeatDelay.focusIn();
    rig.ui.txtHeatDelay.type("120");
    EXPECT_EQ(rig.ui.txtHeatDelay.text(), "120");
    EXPECT_EQ(rig.eventTexts(),
              concat(concat(kComsCheckEvents, kComsCheckEvents), kComsCheckEvents));
    EXPECT_EQ(rig.ui.MSComm1.writes().size(), 6u);
    EXPECT_EQ(rig.status(), "Stopped");
}

TEST(RunReset, HeaterCheckBoxResetsThenLogsItsNewSetting) {
    RunRig rig;
    rig.ui.chkHeaterEnabled.click();
    EXPECT_EQ(rig.eventTexts(), concat(kComsCheckEvents, {"Heater On commands are now DISABLED"}));
    rig.forget();
    rig.ui.chkHeaterEnabled.click();
    EXPECT_EQ(rig.eventTexts(), concat(kComsCheckEvents, {"Heater On commands are now ENABLED"}));
}

TEST(RunReset, ComsCheckButton) {
    RunRig rig;
    rig.ui.cmdTestComs.click();
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);
    EXPECT_EQ(rig.ui.MSComm1.writes(), kComsCheckWrites);
}

} // namespace
} // namespace quorvane::testing
