// The serial device goes away in the middle of a run and comes back on the same link (an
// adapter pulled and plugged in again): one event tells of it, the next data request
// opens the port again, and every record sent before and after is in the data log file.
#include "FaultRig.h"
#include "RecordOrder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quorvane::faults {
namespace {

// The simulator hangs up after every third record of a session: finish after the fifth,
// before the second session ends.
TEST(SerialHangup, RunGoesOnAfterTheDeviceComesBack) {
    FaultRig rig;
    ASSERT_TRUE(
        rig.startSimulator({"--hangup-after", "3", "--restart", "--restart-delay-ms", "300"}));
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 60, 5));
    ASSERT_TRUE(
        FaultRig::runUntil([&] { return rig.simulator->goodPayloads().size() >= 5; }, 10000));
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    rig.click("cmdFinish");
    FaultRig::run(600);

    const std::vector<std::string> log = rig.simulator->logEvents();
    EXPECT_EQ(std::count(log.begin(), log.end(), "HANGUP"), 1);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& e) { return e.rfind("PTY ", 0) == 0; }),
              2);
    const std::string pane = rig.eventsPane();
    std::size_t lost = 0;
    for (std::size_t at = pane.find("Serial port lost: COM2"); at != std::string::npos;
         at = pane.find("Serial port lost: COM2", at + 1)) {
        ++lost;
    }
    EXPECT_EQ(lost, 1u) << pane;
    EXPECT_LE(rig.dialogs.texts().size(), 1u);
    const std::vector<std::string> lines = FaultRig::lines(rig.dataFolder() + "/run.log");
    EXPECT_EQ(compareRecords(FaultRig::payloads(lines), rig.simulator->goodPayloads()), "");
}

} // namespace
} // namespace quorvane::faults
