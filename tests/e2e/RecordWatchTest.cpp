#include "RunSteps.h"

#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// The whole seconds told by an event line such as "... for 10 seconds.", or -1.
int secondsIn(const std::string& events, const std::string& text) {
    const std::size_t at = events.find(text);
    if (at == std::string::npos) {
        return -1;
    }
    return std::atoi(events.c_str() + at + text.size());
}

// A probe that answers no data request (at a 1 s log interval the run waits the minimum
// 10 s), then is replaced by one that answers: one event for the silence, one when
// records come again, no box.
TEST(RecordWatch, SilentProbeIsToldOnceAndItsReturnToo) {
    E2eRig rig({"--drop-every", "1"});
    ASSERT_TRUE(startLoggingRun(rig));
    const std::string silent = "No data record received for ";
    ASSERT_TRUE(E2eRig::runUntil([&] { return secondsIn(rig.events(), silent) >= 0; }, 14000));
    EXPECT_EQ(secondsIn(rig.events(), silent), 10);
    EXPECT_GE(rig.simulator->count("DROPPED T"), 9u);

    rig.simulator.reset();
    rig.simulator = std::make_unique<support::SimulatorProcess>(rig.link(), rig.path("probe2.log"));
    ASSERT_TRUE(rig.simulator->started());
    const std::string again = "Data records received again after ";
    ASSERT_TRUE(E2eRig::runUntil([&] { return secondsIn(rig.events(), again) >= 0; }, 8000));
    finishLoggingRun(rig, 300);

    const std::string events = rig.events();
    EXPECT_EQ(occurrences(events, silent), 1u) << events;
    EXPECT_EQ(occurrences(events, again), 1u) << events;
    EXPECT_LT(events.find(silent), events.find(again));
    // Counted from Start Run, up to the first record of the new probe.
    EXPECT_GE(secondsIn(events, again), 10);
    EXPECT_LE(secondsIn(events, again), 20);
    EXPECT_TRUE(rig.dialogs.texts().empty()) << rig.dialogs.texts().front();
    EXPECT_EQ(loggedPayloads(dataFile(rig)).front(), rig.simulator->goodPayloads().front());
}

} // namespace
} // namespace quorvane::e2e
