#include "RunRig.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

// The watchdog's events among all of a rig's events.
std::vector<std::string> watchEvents(const RunRig& rig) {
    std::vector<std::string> out;
    for (const std::string& e : rig.eventTexts()) {
        if (e.rfind("No data record", 0) == 0 || e.rfind("Data records", 0) == 0) {
            out.push_back(e);
        }
    }
    return out;
}

const std::vector<std::string> kSilent10{"No data record received for 10 seconds."};

// The run buttons begin and end the watch; the fake instrument never answers.
TEST(RunWatch, StartAndResumeWatchFinishAndResetEndItQuietly) {
    RunRig rig;
    rig.ready("1", "1", "1"); // the heat cycle is over after 2 s, so Resume is offered
    rig.ui.cmdRun.click();
    EXPECT_TRUE(rig.run.watchdog().isWatching());
    rig.advanceSeconds(10);
    EXPECT_EQ(watchEvents(rig), kSilent10);
    EXPECT_TRUE(rig.dialogs.messages().empty());

    rig.ui.cmdFinish.click();
    EXPECT_FALSE(rig.run.watchdog().isWatching());
    rig.forget();
    rig.advanceSeconds(60);
    EXPECT_TRUE(watchEvents(rig).empty());

    rig.ui.cmdResume.click();
    EXPECT_TRUE(rig.run.watchdog().isWatching());
    rig.advanceSeconds(9);
    EXPECT_TRUE(watchEvents(rig).empty()); // counted from the Resume
    rig.advanceSeconds(1);
    EXPECT_EQ(watchEvents(rig), kSilent10);

    rig.ui.cmdFinish.click();
    rig.ui.cmdResume.click();
    rig.forget();
    rig.run.resetRun();
    EXPECT_FALSE(rig.run.watchdog().isWatching());
    rig.advanceSeconds(60);
    EXPECT_TRUE(watchEvents(rig).empty());
}

TEST(RunWatch, NoWatchWithoutDataRequests) {
    RunRig rig;
    rig.ready("0", "100", "1");
    rig.ui.cmdRun.click();
    rig.advanceSeconds(60);
    EXPECT_FALSE(rig.run.watchdog().isWatching());
    EXPECT_TRUE(watchEvents(rig).empty());
}

} // namespace
} // namespace quorvane::testing
