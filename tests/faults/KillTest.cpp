// The program ended from outside in the middle of logging. SIGKILL: whatever is already in
// the data log file and the event log file is whole lines, in order, nothing damaged.
// SIGTERM: the orderly stop of the window's close control, heater off and settings saved.
// Two programs are ended: the real binary (records flood in unasked and are logged without
// a run), and the program as start-up builds it, driven by its buttons into a run.
#include "ChildProcess.h"
#include "FaultRig.h"
#include "RecordOrder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace quorvane::faults {
namespace {

using namespace std::chrono_literals;

// Whole lines; the data lines are the first records the simulator sent, in order.
void expectIntact(FaultRig& rig, const std::string& file, std::size_t headerLines,
                  std::size_t minimumRecords) {
    const std::vector<std::string> lines = FaultRig::lines(file);
    ASSERT_GE(lines.size(), headerLines + minimumRecords);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < headerLines) {
            EXPECT_EQ(lines[i].rfind("# ", 0), 0u) << "line " << i << ": " << lines[i];
        } else {
            EXPECT_TRUE(isDataLine(lines[i])) << "line " << i << ": " << lines[i];
        }
    }
    const std::vector<std::string> logged = FaultRig::payloads(lines);
    std::vector<std::string> sent = rig.simulator->goodPayloads();
    ASSERT_GE(sent.size(), logged.size());
    sent.resize(logged.size());
    EXPECT_EQ(compareRecords(logged, sent), "");
}

void expectWholeEventLines(const std::string& file) {
    const std::vector<std::string> events = FaultRig::lines(file);
    ASSERT_FALSE(events.empty());
    for (const std::string& line : events) {
        EXPECT_EQ(line.find("<cut>"), std::string::npos) << line;
        EXPECT_EQ(line.substr(20, 2), ": ") << line;
    }
}

// Folders of the test's own: the single-instance lock goes into the runtime folder.
std::vector<std::pair<std::string, std::string>> offscreen(FaultRig& rig) {
    std::filesystem::create_directories(rig.path("runtime"));
    std::filesystem::permissions(rig.path("runtime"), std::filesystem::perms::owner_all);
    return {{"QT_QPA_PLATFORM", "offscreen"},
            {"TMPDIR", rig.path("")},
            {"XDG_RUNTIME_DIR", rig.path("runtime")},
            {"XDG_CONFIG_HOME", rig.path("config")}};
}

// The real binary in a program folder of its own (its event log goes beside it), reading
// the per-user settings file under XDG_CONFIG_HOME.
std::unique_ptr<ChildProcess> startRealProgram(FaultRig& rig) {
    rig.prepareProgramFolder();
    const std::string program = rig.programFolder() + "/quorvane";
    std::filesystem::copy_file(QUORVANE_PROGRAM_PATH, program,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::create_directories(rig.path("config/Quorvane"));
    std::filesystem::copy_file(rig.settingsFile(), rig.path("config/Quorvane/Quorvane.conf"));
    return std::make_unique<ChildProcess>(std::vector<std::string>{program}, offscreen(rig));
}

std::unique_ptr<ChildProcess> startDrivenProgram(FaultRig& rig, int heatDelay, int heatTime) {
    rig.prepareProgramFolder();
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{
            QUORVANE_FAULT_CHILD_PATH, "--settings", rig.settingsFile(), "--program",
            rig.programFolder(), "--lock", rig.path("quorvane.lock"), "--data",
            rig.dataFolder() + "/run.log", "--boxes", rig.path("boxes.txt"), "--heat-delay",
            std::to_string(heatDelay), "--heat-time", std::to_string(heatTime)},
        offscreen(rig));
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// As the simulator stamps its log: "2026-12-07T13:51:10.999Z".
std::string utcStamp(std::chrono::system_clock::time_point t) {
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(t);
    const auto secs = std::chrono::floor<std::chrono::seconds>(ms);
    const std::time_t tt = std::chrono::system_clock::to_time_t(secs);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>((ms - secs).count()));
    return buffer;
}

std::size_t count(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
}

TEST(Kill, RealProgramKilledWhileRecordsFloodInLeavesWholeLines) {
    FaultRig rig({{"DefaultPath", "$DATA/"}, {"DefaultFilename", "flood.log"}});
    ASSERT_TRUE(rig.startSimulator({"--flood-rate", "11520"}));
    auto program = startRealProgram(rig);
    ASSERT_TRUE(program->started());
    const std::string file = rig.dataFolder() + "/flood.log";
    ASSERT_TRUE(waitFor([&] { return FaultRig::lines(file).size() >= 300; }, 8s));

    program->signal(SIGKILL);
    const std::optional<int> status = program->wait(3000);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    expectIntact(rig, file, 0, 300);
    expectWholeEventLines(rig.eventFile());
}

TEST(Kill, RealProgramEndedBySigtermSendsHeaterOffAndSavesTheSettings) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    auto program = startRealProgram(rig);
    ASSERT_TRUE(waitFor([&] { return count(rig.simulator->commands(), "!P00 ") == 1; }, 5s));
    std::this_thread::sleep_for(300ms);

    program->signal(SIGTERM);
    const std::optional<int> status = program->wait(5000);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(count(rig.simulator->commands(), "!P00 "), 2u);
    const std::string saved = FaultRig::read(rig.path("config/Quorvane/Quorvane.conf"));
    for (const char* key :
         {"LogInterval=2", "HeatDelay=4", "ComPort=COM2", "LogOption0=True", "MainWidth="}) {
        EXPECT_NE(saved.find(key), std::string::npos) << key << " in\n" << saved;
    }
    expectWholeEventLines(rig.eventFile());
}

TEST(Kill, DrivenProgramKilledInTheMiddleOfARunLeavesWholeLines) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    auto program = startDrivenProgram(rig, 2, 30);
    ASSERT_TRUE(program->waitForLine("RUNNING", 8000));
    const std::string file = rig.dataFolder() + "/run.log";
    ASSERT_TRUE(waitFor([&] { return FaultRig::lines(file).size() >= 11 + 3; }, 6s));

    program->signal(SIGKILL);
    ASSERT_TRUE(program->wait(3000));
    const std::vector<std::string> lines = FaultRig::lines(file);
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(lines[0], "# Instrument: 0417");
    EXPECT_EQ(lines[9], "# Logfile: " + file);
    expectIntact(rig, file, 11, 3);
    expectWholeEventLines(rig.eventFile());
    EXPECT_FALSE(std::filesystem::exists(rig.path("boxes.txt")))
        << FaultRig::read(rig.path("boxes.txt"));
}

TEST(Kill, DrivenProgramEndedBySigtermDuringTheHeatTimeSwitchesTheHeaterOff) {
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    auto program = startDrivenProgram(rig, 1, 30);
    ASSERT_TRUE(program->waitForLine("HEATING", 8000));
    ASSERT_TRUE(waitFor([&] { return count(rig.simulator->commands(), "!Q001E 78 ") == 1; }, 2s));
    const std::string file = rig.dataFolder() + "/run.log";
    ASSERT_TRUE(waitFor([&] { return FaultRig::lines(file).size() >= 11 + 1; }, 3s));

    program->signal(SIGTERM);
    const std::optional<int> status = program->wait(5000);
    const auto ended = std::chrono::system_clock::now();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;

    // The heater-off command is the last thing the instrument got, and it got it while
    // the program was still there.
    ASSERT_TRUE(waitFor([&] { return rig.simulator->commands().back() == "!P00 "; }, 1s));
    const std::vector<std::string> commands = rig.simulator->commands();
    const auto on = std::find(commands.begin(), commands.end(), "!Q001E 78 ");
    EXPECT_NE(std::find(on, commands.end(), "!P00 "), commands.end());
    std::string offStamp;
    std::ifstream log(rig.path("probe.log"));
    for (std::string line; std::getline(log, line);) {
        if (line.ends_with(" CMD !P00 ")) {
            offStamp = line.substr(0, line.find(' '));
        }
    }
    EXPECT_FALSE(offStamp.empty());
    EXPECT_LE(offStamp, utcStamp(ended));

    const std::string saved = FaultRig::read(rig.settingsFile());
    for (const char* key : {"LogInterval=1", "HeatDelay=1", "HeatTime=30", "HeatLevel=120"}) {
        EXPECT_NE(saved.find(key), std::string::npos) << key << " in\n" << saved;
    }
    expectIntact(rig, file, 11, 1);
}

} // namespace
} // namespace quorvane::faults
