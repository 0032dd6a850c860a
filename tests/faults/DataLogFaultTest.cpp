// The data log file stops taking lines in the middle of logging: the disk fills up, the
// disk turns read-only, or the file turns into a device that is always full. One box tells
// of it, nothing half-written stays in the file, and once the fault is gone the held lines
// are written in order, each record exactly once.
#include "FaultRig.h"
#include "RecordOrder.h"
#include "TmpfsMount.h"

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvane::faults {
namespace {

const std::string kBox = "logToFile: Error writing data to logfile.\r\n";

// Lines of the file that the Logged Data pane does not show: those that were held.
std::size_t heldCount(const std::string& recoveryEvent) {
    const std::string lead = "Data logfile writable again: ";
    const std::size_t at = recoveryEvent.find(lead);
    return at == std::string::npos ? 0 : std::stoul(recoveryEvent.substr(at + lead.size()));
}

// Whole lines; the records are those the simulator sent, in order, each once: all of
// them, or (when the simulator goes on sending) at least the first `atLeast`.
void expectWholeLinesInOrder(FaultRig& rig, const std::vector<std::string>& lines,
                             std::size_t headerLines, std::size_t atLeast = SIZE_MAX) {
    ASSERT_GE(lines.size(), headerLines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < headerLines) {
            EXPECT_EQ(lines[i].rfind("# ", 0), 0u) << "line " << i << ": " << lines[i];
        } else {
            EXPECT_TRUE(isDataLine(lines[i])) << "line " << i << ": " << lines[i];
        }
    }
    const std::vector<std::string> logged = FaultRig::payloads(lines);
    std::vector<std::string> sent = rig.simulator->goodPayloads();
    if (atLeast != SIZE_MAX) {
        EXPECT_GE(logged.size(), atLeast);
        sent.resize(std::min(sent.size(), logged.size()));
    }
    EXPECT_EQ(compareRecords(logged, sent), "");
}

struct FloodFault {
    const char* name;
    const char* errorText; // errno and description, as the box gives them
    std::function<bool(FaultRig&, TmpfsMount&)> inject;
    std::function<bool(FaultRig&, TmpfsMount&)> clear;
};

void PrintTo(const FloodFault& fault, std::ostream* out) {
    *out << fault.name;
}

class DataLogFlood : public ::testing::TestWithParam<FloodFault> {};

// Records arrive unasked, 64 a second, and each is logged to the file named by the
// settings: several records per poll tick, so that a pass that ends early leaves lines
// behind in the input buffer.
TEST_P(DataLogFlood, OneBoxNoHalfLineAndTheHeldLinesFollowInOrder) {
    const FloodFault& fault = GetParam();
    FaultRig rig({{"DefaultPath", "$DATA/"}, {"DefaultFilename", "flood.log"}});
    TmpfsMount disk;
    if (!disk.mount(rig.dataFolder(), 64)) {
        GTEST_SKIP() << disk.error();
    }
    ASSERT_TRUE(rig.startSimulator({"--flood-rate", "2880"}));
    rig.startProgram();
    const std::string file = rig.dataFolder() + "/flood.log";
    ASSERT_TRUE(FaultRig::runUntil([&] { return FaultRig::lines(file).size() >= 20; }, 5000));

    ASSERT_TRUE(fault.inject(rig, disk)) << disk.error();
    ASSERT_TRUE(FaultRig::runUntil([&] { return !rig.dialogs.texts().empty(); }, 5000));
    FaultRig::run(1000); // more records come and are held
    // While failing, each poll tick's pass ends at its first record: a few are held, the
    // rest wait in the input buffer.
    EXPECT_GE(rig.host().controller().dataLog().heldLines(), 3u);
    // A line cut short by the full disk has been taken back out.
    const std::string during = FaultRig::read(file);
    EXPECT_TRUE(during.size() >= 2 && during.compare(during.size() - 2, 2, "\r\n") == 0);

    ASSERT_TRUE(fault.clear(rig, disk)) << disk.error();
    ASSERT_TRUE(FaultRig::runUntil(
        [&] { return rig.eventsPane().find("Data logfile writable again:") != std::string::npos; },
        5000));
    // The simulator is frozen, not ended: ending it would hang the line up, and what was
    // still on its way would be lost to the hang-up, not to the data log.
    ::kill(rig.simulator->pid(), SIGSTOP);
    FaultRig::run(800); // the backlog in the input buffer is parsed
    const std::size_t sentBeforeFreeze = rig.simulator->goodPayloads().size();
    const std::vector<std::string> lines = FaultRig::lines(file);
    const std::string pane = rig.view().txtLoggedDataDisplay->text();
    ::kill(rig.simulator->pid(), SIGCONT);
    rig.simulator->stop();

    ASSERT_EQ(rig.dialogs.texts().size(), 1u) << rig.dialogs.texts().back();
    EXPECT_EQ(rig.dialogs.texts()[0], kBox + fault.errorText);
    EXPECT_EQ(rig.dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(rig.host().controller().dataLog().heldLines(), 0u);
    expectWholeLinesInOrder(rig, lines, 0, sentBeforeFreeze);

    // The pass ended at the line that could not be written: held lines never reached the
    // Logged Data pane, every other line did.
    const std::size_t paneLines =
        static_cast<std::size_t>(std::count(pane.begin(), pane.end(), '\n'));
    EXPECT_EQ(lines.size() - paneLines, heldCount(rig.eventsPane()));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DataLogFlood,
    ::testing::Values(FloodFault{"DiskFull", "28  No space left on device",
                                 [](FaultRig& rig, TmpfsMount&) {
                                     return TmpfsMount::fill(rig.dataFolder() + "/filler") >= 0;
                                 },
                                 [](FaultRig& rig, TmpfsMount&) {
                                     return ::unlink((rig.dataFolder() + "/filler").c_str()) == 0;
                                 }},
                      FloodFault{
                          "ReadOnly", "30  Read-only file system",
                          [](FaultRig&, TmpfsMount& disk) { return disk.setReadOnly(true); },
                          [](FaultRig&, TmpfsMount& disk) { return disk.setReadOnly(false); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The file gives way already before Start Run (swapped for /dev/full, which no root rights
// are needed for): the header block is held with the records, and all of it follows in
// order once the file is back.
TEST(DataLogFault, HeaderAndRecordsHeldWhileTheFileIsAlwaysFull) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();
    const std::string file = rig.dataFolder() + "/run.log";
    ASSERT_TRUE(rig.initialize("run.log", 60, 5));
    ASSERT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
    std::filesystem::create_symlink("/dev/full", file);

    rig.click("cmdRun");
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    ASSERT_TRUE(
        FaultRig::runUntil([&] { return rig.simulator->goodPayloads().size() >= 3; }, 5000));
    FaultRig::run(300);
    const std::size_t held = rig.host().controller().dataLog().heldLines();
    EXPECT_TRUE(held == 11u + 3u || held == 11u + 4u) << held;

    std::filesystem::remove(file);
    { std::ofstream recreated(file); }
    ASSERT_TRUE(FaultRig::runUntil(
        [&] { return rig.eventsPane().find("Data logfile writable again:") != std::string::npos; },
        3000));
    FaultRig::run(1200);
    rig.click("cmdFinish");
    FaultRig::run(600);

    ASSERT_EQ(rig.dialogs.texts().size(), 1u);
    EXPECT_EQ(rig.dialogs.texts()[0], kBox + "28  No space left on device");
    const std::vector<std::string> lines = FaultRig::lines(file);
    ASSERT_GE(lines.size(), 11u + 4u);
    EXPECT_EQ(lines[0], "# Instrument: 0417");
    EXPECT_EQ(lines[10], "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr");
    expectWholeLinesInOrder(rig, lines, 11);
    EXPECT_GE(heldCount(rig.eventsPane()), 11u + 3u);
}

} // namespace
} // namespace quorvane::faults
