// The serial device goes away in the middle of a run and comes back on the same link (an
// adapter pulled and plugged in again): one event tells of it, the next data request
// opens the port again, and the records of the new connection are logged as before.
#include "FaultRig.h"
#include "RecordOrder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace quorvane::faults {
namespace {

// Records 1-3, the hang-up, then records from the new pty until `records` were sent, then
// Finish. The simulator hangs up again after every third record of a connection.
void runAcrossAHangup(FaultRig& rig, std::size_t records) {
    ASSERT_TRUE(
        rig.startSimulator({"--hangup-after", "3", "--restart", "--restart-delay-ms", "300"}));
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 60, 5));
    ASSERT_TRUE(
        FaultRig::runUntil([&] { return rig.simulator->goodPayloads().size() >= records; }, 10000));
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    rig.click("cmdFinish");
    FaultRig::run(600);
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST(SerialHangup, RunGoesOnAfterTheDeviceComesBack) {
    FaultRig rig;
    runAcrossAHangup(rig, 5);

    const std::vector<std::string> log = rig.simulator->logEvents();
    const auto hangups = static_cast<std::size_t>(std::count(log.begin(), log.end(), "HANGUP"));
    EXPECT_GE(hangups, 1u);
    // One event per loss, and at most the one box of a data request sent while the
    // device was away.
    EXPECT_EQ(occurrences(rig.eventsPane(), "Serial port lost: COM2"), hangups) << rig.eventsPane();
    EXPECT_LE(rig.dialogs.texts().size(), 1u);
    // The records of the second connection were logged, after those of the first.
    const std::vector<std::string> logged =
        FaultRig::payloads(FaultRig::lines(rig.dataFolder() + "/run.log"));
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    EXPECT_TRUE(isOrderedSubset(logged, sent)) << compareRecords(logged, sent);
    ASSERT_GE(sent.size(), 5u);
    for (std::size_t i : {3u, 4u}) {
        EXPECT_NE(std::find(logged.begin(), logged.end(), sent[i]), logged.end())
            << "record " << i + 1;
    }
}

// A record that the port had already taken in from the device, but that the next poll tick
// had not read yet, is kept when the port is closed on the loss. The simulator hangs up
// only once the program has read every byte, so every record sent belongs in the file.
TEST(SerialHangup, NoRecordReceivedBeforeTheHangupIsLost) {
    FaultRig rig;
    runAcrossAHangup(rig, 5);
    const std::vector<std::string> logged =
        FaultRig::payloads(FaultRig::lines(rig.dataFolder() + "/run.log"));
    std::vector<std::string> sent = rig.simulator->goodPayloads();
    EXPECT_EQ(compareRecords(logged, sent), "");
}

} // namespace
} // namespace quorvane::faults
