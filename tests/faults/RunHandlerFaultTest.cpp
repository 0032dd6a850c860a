// Faults met inside the handlers that keep a run going, on the real window against the
// simulator: the boxes they raise open only after the handler, while the run goes on; the
// heater-off goes out first; held lines and an owed heater-off are not forgotten.
#include "FaultRig.h"
#include "RecordOrder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace quorvane::faults {
namespace {

std::size_t countOf(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
}

// No file can be opened at `file` any more (root or not): a folder takes its place. The
// file's lines are kept aside and put back by `restore`.
void makeUnwritable(const std::string& file) {
    std::error_code ignored;
    std::filesystem::rename(file, file + ".aside", ignored);
    std::filesystem::create_directory(file);
}

void restore(const std::string& file) {
    std::filesystem::remove(file);
    std::error_code ignored;
    std::filesystem::rename(file + ".aside", file, ignored);
}

// The disk of the event log turns read-only during the heat time: at the heat-time expiry
// the heater-off reaches the instrument at once, while the box about the event log is still
// open, and the data requests go on meanwhile.
TEST(RunHandlerFault, EventLogFailingAtTheHeatTimeExpiryDoesNotHoldTheHeaterOffBack) {
    FaultRig rig;
    rig.dialogs = support::RecordingDialogs(3000);
    std::size_t offsAtClose = 0;
    std::size_t requestsAtOpen = 0;
    std::size_t requestsAtClose = 0;
    rig.dialogs.onOpen = [&] { requestsAtOpen = rig.simulator->count("CMD T"); };
    rig.dialogs.onClose = [&] {
        offsAtClose = countOf(rig.simulator->commands(), "!P00 ");
        requestsAtClose = rig.simulator->count("CMD T");
    };
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 1, 3));
    ASSERT_TRUE(FaultRig::runUntil([&] { return rig.status() == "Running - Heater ON"; }, 3000));
    const std::size_t offsBefore = countOf(rig.simulator->commands(), "!P00 ");
    makeUnwritable(rig.eventFile());

    ASSERT_TRUE(FaultRig::runUntil([&] { return !rig.dialogs.texts().empty(); }, 5000));
    ASSERT_TRUE(FaultRig::runUntil([&] { return offsAtClose > 0; }, 5000));
    EXPECT_EQ(rig.dialogs.texts()[0].rfind("logToEventFile:", 0), 0u) << rig.dialogs.texts()[0];
    EXPECT_EQ(offsAtClose, offsBefore + 1);
    EXPECT_GE(requestsAtClose, requestsAtOpen + 2);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
    restore(rig.eventFile());
}

// The same at Finish: the heater-off first, and no data request after it.
TEST(RunHandlerFault, EventLogFailingAtFinishDoesNotHoldTheHeaterOffBack) {
    FaultRig rig;
    rig.dialogs = support::RecordingDialogs(2000);
    std::vector<std::string> commandsAtClose;
    rig.dialogs.onClose = [&] { commandsAtClose = rig.simulator->commands(); };
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 1, 30));
    ASSERT_TRUE(FaultRig::runUntil([&] { return rig.status() == "Running - Heater ON"; }, 3000));
    makeUnwritable(rig.eventFile());

    rig.click("cmdFinish");
    EXPECT_TRUE(rig.dialogs.texts().empty()) << "a box inside Finish";
    ASSERT_TRUE(FaultRig::runUntil([&] { return !commandsAtClose.empty(); }, 5000));
    ASSERT_FALSE(commandsAtClose.empty());
    EXPECT_EQ(commandsAtClose.back(), "!P00 ");
    restore(rig.eventFile());
}

// A data request fails once (the probe is away for a moment) and the probe is back at once:
// the requests go on while the box is open, so the records of that time are not lost.
TEST(RunHandlerFault, DataRequestsGoOnWhileTheBoxOfAFailedRequestIsOpen) {
    FaultRig rig;
    rig.dialogs = support::RecordingDialogs(5000);
    std::size_t requestsAtOpen = 0;
    std::size_t requestsAtClose = 0;
    rig.dialogs.onOpen = [&] { requestsAtOpen = rig.simulator->count("CMD T"); };
    rig.dialogs.onClose = [&] { requestsAtClose = rig.simulator->count("CMD T"); };
    ASSERT_TRUE(
        rig.startSimulator({"--hangup-after", "3", "--restart", "--restart-delay-ms", "1500"}));
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 3600, 3));
    ASSERT_TRUE(FaultRig::runUntil([&] { return requestsAtClose > 0; }, 15000));
    ASSERT_EQ(rig.boxesStartingWith("SendCommand: Error sending command to Quorvane.\r\n"
                                    "Command   :T"),
              1);
    // Five seconds open, the probe back after one and a half: at least three requests.
    EXPECT_GE(requestsAtClose, requestsAtOpen + 3);
}

// Records held while the data log could not be written reach it when the program ends,
// although no record came after the file could be written again; Finish tried them too.
TEST(RunHandlerFault, HeldLinesReachTheFileAtFinishAndAtTheEnd) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 3600, 3));
    const std::string file = rig.dataFolder() + "/run.log";
    ASSERT_TRUE(FaultRig::runUntil([&] { return FaultRig::lines(file).size() >= 11 + 2; }, 5000));
    makeUnwritable(file);
    ASSERT_TRUE(FaultRig::runUntil(
        [&] { return rig.host().controller().dataLog().heldLines() >= 2; }, 5000));
    rig.click("cmdFinish");
    FaultRig::run(1500); // the answer to the last request
    const std::size_t held = rig.host().controller().dataLog().heldLines();
    ASSERT_GE(held, 2u);
    EXPECT_NE(rig.eventsPane().find("Held data lines: 0 written to " + file + ", " +
                                    std::to_string(held) + " could not be written."),
              std::string::npos)
        << rig.eventsPane();

    restore(file);
    rig.closeProgram();
    const std::vector<std::string> lines = FaultRig::lines(file);
    EXPECT_EQ(compareRecords(FaultRig::payloads(lines), rig.simulator->goodPayloads()), "");
    const std::string events = FaultRig::read(rig.eventFile());
    EXPECT_NE(events.find("Held data lines: " + std::to_string(held) + " written to " + file +
                          ", 0 could not be written."),
              std::string::npos)
        << events;
}

// The probe goes away during the heat time and is still away at its expiry: the heater-off
// is owed, the status no longer says the heater is on, and when the probe is back the
// heater-off is the first thing it gets.
TEST(RunHandlerFault, AHeaterOffThatCouldNotBeSentGoesOutWhenThePortOpensAgain) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    rig.startProgram();
    ASSERT_TRUE(rig.startRun("run.log", 1, 2));
    ASSERT_TRUE(FaultRig::runUntil([&] { return rig.status() == "Running - Heater ON"; }, 3000));
    rig.simulator.reset(); // the link goes, the line hangs up
    ASSERT_TRUE(FaultRig::runUntil(
        [&] {
            return rig.eventsPane().find("Failed to send heater off command") != std::string::npos;
        },
        5000));
    FaultRig::run(500);
    EXPECT_EQ(rig.status().find("Heater ON"), std::string::npos) << rig.status();

    // Back on the same link, with a log of its own.
    rig.simulator = std::make_unique<support::SimulatorProcess>(rig.link(), rig.path("back.log"));
    ASSERT_TRUE(rig.simulator->started());
    ASSERT_TRUE(FaultRig::runUntil([&] { return !rig.simulator->commands().empty(); }, 3000));
    FaultRig::run(300);
    const std::vector<std::string> commands = rig.simulator->commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "!P00 ");
    EXPECT_NE(rig.eventsPane().find("Heater off command sent now that the port is open again."),
              std::string::npos);
    EXPECT_EQ(rig.status(), "Running - Heater OFF");
}

// Records that reached the port in the last moments before the window closes (no poll
// tick has read them yet) are read and logged before the port is closed.
TEST(RunHandlerFault, RecordsWaitingOnThePortAtTheEndAreLogged) {
    FaultRig rig({{"DefaultPath", "$DATA/"}, {"DefaultFilename", "flood.log"}});
    ASSERT_TRUE(rig.startSimulator({"--flood-rate", "430"})); // ten records a second
    rig.startProgram();
    const std::string file = rig.dataFolder() + "/flood.log";
    ASSERT_TRUE(FaultRig::runUntil([&] { return FaultRig::lines(file).size() >= 3; }, 5000));

    // No event is handled from here on: what comes now waits on the port.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    ::kill(rig.simulator->pid(), SIGSTOP);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    rig.closeProgram();
    ::kill(rig.simulator->pid(), SIGCONT);

    std::vector<std::string> logged = FaultRig::payloads(FaultRig::lines(file));
    ASSERT_GE(logged.size(), sent.size());
    logged.resize(sent.size());
    EXPECT_EQ(compareRecords(logged, sent), "");
}

// The serial port cannot be reached at start-up: one box, not one per command.
TEST(RunHandlerFault, AnUnreachablePortAtStartUpRaisesOneBox) {
    FaultRig rig; // no simulator: COM2's device does not exist
    rig.startProgram();
    FaultRig::run(500);
    ASSERT_EQ(rig.dialogs.texts().size(), 1u) << rig.dialogs.texts().back();
    EXPECT_EQ(rig.dialogs.texts()[0].rfind("SendCommand: Error sending command to Quorvane.", 0),
              0u);
    EXPECT_NE(rig.eventsPane().find("(message not shown) Error setting serial port:COM2"),
              std::string::npos)
        << rig.eventsPane();
}

} // namespace
} // namespace quorvane::faults
