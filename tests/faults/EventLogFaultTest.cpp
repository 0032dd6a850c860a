// The program folder is read-only from the start, so the event log file cannot be
// written: one box says so, every event still shows in the Events pane, and a whole run
// goes on as usual. Once the folder is writable again the next event reaches the file.
#include "FaultRig.h"
#include "RecordOrder.h"
#include "TmpfsMount.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::faults {
namespace {

TEST(EventLogFault, ReadOnlyProgramFolderKeepsTheEventsPaneAndTheRun) {
    FaultRig rig;
    TmpfsMount folder;
    if (!folder.mount(rig.programFolder(), 1024)) {
        GTEST_SKIP() << folder.error();
    }
    rig.prepareProgramFolder();
    ASSERT_TRUE(folder.setReadOnly(true)) << folder.error();
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();

    ASSERT_TRUE(rig.startRun("run.log", 1, 1));
    ASSERT_TRUE(FaultRig::runUntil([&] { return rig.status() == "Running - Heater ON"; }, 3000));
    ASSERT_TRUE(FaultRig::runUntil([&] { return rig.status() == "Running - Heater OFF"; }, 3000));
    FaultRig::run(1200);
    rig.click("cmdFinish");
    FaultRig::run(600);

    const std::string pane = rig.eventsPane();
    for (const char* event : {"Program loaded.", "Sending heater off command",
                              "Instrument S/N: 0417 detected.", "END RUN. Elapsed time:"}) {
        EXPECT_NE(pane.find(event), std::string::npos) << event;
    }
    EXPECT_FALSE(std::filesystem::exists(rig.eventFile()));
    ASSERT_EQ(rig.dialogs.texts().size(), 1u) << rig.dialogs.texts().back();
    EXPECT_EQ(rig.dialogs.texts()[0],
              "logToEventFile: Error writing to the application event file.\r\n"
              "30  Read-only file system");
    // The run itself went on: header and every record in the data log file.
    const std::vector<std::string> lines = FaultRig::lines(rig.dataFolder() + "/run.log");
    ASSERT_GE(lines.size(), 11u + 3u);
    EXPECT_EQ(compareRecords(FaultRig::payloads(lines), rig.simulator->goodPayloads()), "");

    ASSERT_TRUE(folder.setReadOnly(false)) << folder.error();
    rig.click("cmdTestComs");
    FaultRig::run(300);
    const std::vector<std::string> events = FaultRig::lines(rig.eventFile());
    ASSERT_FALSE(events.empty());
    EXPECT_NE(events.front().find(": Sent wakeup command"), std::string::npos) << events.front();
    EXPECT_EQ(rig.dialogs.texts().size(), 1u);
}

} // namespace
} // namespace quorvane::faults
