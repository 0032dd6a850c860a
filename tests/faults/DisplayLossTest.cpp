// The program on an X server of its own, against the simulator: the display goes away (the
// server killed, or the program's connection closed by the server as xkill does) and the
// program still ends in order: heater off, port closed, settings saved. And a close asked
// for by the window manager while a message box is open is carried out once the box closes.
#include "ChildProcess.h"
#include "FaultRig.h"
#include "RecordOrder.h"
#include "XServer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace quorvane::faults {
namespace {

using namespace std::chrono_literals;

const std::string kCaption = "Kelmont Quorvane  Vsn:1.0.6";

std::size_t countOf(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
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

// The program's environment: the test's X server, and folders of the test's own for the
// settings, the temporary files and the single-instance lock.
std::vector<std::pair<std::string, std::string>> onDisplay(FaultRig& rig, const XServer& x) {
    std::filesystem::create_directories(rig.path("runtime"));
    ::chmod(rig.path("runtime").c_str(), 0700);
    // Under the sanitizers: D-Bus, which the X platform reaches, and the font library keep
    // allocations to the end (the toolkit's exit() frees nothing) that the leak checker would
    // report as the program's.
    std::ofstream(rig.path("lsan.supp")) << "leak:libdbus-1.so\nleak:libfontconfig.so\n";
    return {{"LSAN_OPTIONS", "suppressions=" + rig.path("lsan.supp")},
            {"QT_QPA_PLATFORM", "xcb"},
            {"DISPLAY", x.display()},
            {"TMPDIR", rig.path("")},
            {"XDG_RUNTIME_DIR", rig.path("runtime")},
            {"XDG_CONFIG_HOME", rig.path("config")}};
}

std::unique_ptr<ChildProcess> startRealProgram(FaultRig& rig, const XServer& x) {
    rig.prepareProgramFolder();
    const std::string program = rig.programFolder() + "/quorvane";
    std::filesystem::copy_file(QUORVANE_PROGRAM_PATH, program,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::create_directories(rig.path("config/Quorvane"));
    std::filesystem::copy_file(rig.settingsFile(), rig.path("config/Quorvane/Quorvane.conf"),
                               std::filesystem::copy_options::overwrite_existing);
    return std::make_unique<ChildProcess>(std::vector<std::string>{program}, onDisplay(rig, x));
}

std::unique_ptr<ChildProcess> startDrivenProgram(FaultRig& rig, const XServer& x,
                                                 const std::vector<std::string>& extra) {
    rig.prepareProgramFolder();
    std::vector<std::string> argv = {QUORVANE_FAULT_CHILD_PATH,
                                     "--settings",
                                     rig.settingsFile(),
                                     "--program",
                                     rig.programFolder(),
                                     "--lock",
                                     rig.path("quorvane.lock"),
                                     "--data",
                                     rig.dataFolder() + "/run.log",
                                     "--heat-delay",
                                     "1",
                                     "--heat-time",
                                     "30"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return std::make_unique<ChildProcess>(argv, onDisplay(rig, x));
}

enum class Loss { ServerKilled, ConnectionKilled };

struct DisplayCase {
    const char* name;
    bool driven; // the driven program in the heat time, else the real one, idle
    Loss loss;
};

void PrintTo(const DisplayCase& c, std::ostream* out) {
    *out << c.name;
}

class DisplayLoss : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayLoss, TheProgramEndsInOrder) {
    const DisplayCase& c = GetParam();
    XServer x;
    if (!x.started()) {
        GTEST_SKIP() << x.error();
    }
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    std::unique_ptr<ChildProcess> program =
        c.driven ? startDrivenProgram(rig, x, {"--boxes", rig.path("boxes.txt")})
                 : startRealProgram(rig, x);
    ASSERT_TRUE(program->started());
    const std::uint32_t window = x.findWindow(kCaption, 8000);
    ASSERT_NE(window, 0u) << "no window on " << x.display();
    if (c.driven) {
        ASSERT_TRUE(program->waitForLine("HEATING", 8000));
        ASSERT_TRUE(
            waitFor([&] { return countOf(rig.simulator->commands(), "!Q001E 78 ") == 1; }, 2s));
    } else {
        ASSERT_TRUE(waitFor([&] { return countOf(rig.simulator->commands(), "!P00 ") == 1; }, 5s));
        std::this_thread::sleep_for(300ms);
    }
    const std::size_t offsBefore = countOf(rig.simulator->commands(), "!P00 ");

    if (c.loss == Loss::ServerKilled) {
        x.kill();
    } else {
        ASSERT_TRUE(x.killClient(window));
    }
    const std::optional<int> status = program->wait(8000);
    ASSERT_TRUE(status) << "still running without its display";

    // The heater-off of the shutdown reached the instrument, and nothing after it.
    ASSERT_TRUE(
        waitFor([&] { return countOf(rig.simulator->commands(), "!P00 ") == offsBefore + 1; }, 2s));
    EXPECT_EQ(rig.simulator->commands().back(), "!P00 ");

    const std::string settings =
        FaultRig::read(c.driven ? rig.settingsFile() : rig.path("config/Quorvane/Quorvane.conf"));
    for (const char* key : {"ComPort=COM2", "LogOption0=True", "MainWidth="}) {
        EXPECT_NE(settings.find(key), std::string::npos) << key << " in\n" << settings;
    }
    const std::string events = FaultRig::read(rig.eventFile());
    EXPECT_NE(events.find("Display connection lost."), std::string::npos) << events;
    if (c.driven) {
        EXPECT_NE(settings.find("HeatTime=30"), std::string::npos) << settings;
        std::optional<std::string> end;
        while (const std::optional<std::string> line = program->readLine(500)) {
            if (line->rfind("END ", 0) == 0) {
                end = line;
            }
        }
        EXPECT_EQ(end.value_or("(no report)"), "END unloaded=1 port=closed");
        const std::vector<std::string> lines = FaultRig::lines(rig.dataFolder() + "/run.log");
        ASSERT_GE(lines.size(), 11u);
        EXPECT_TRUE(isOrderedSubset(FaultRig::payloads(lines), rig.simulator->goodPayloads()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Displays, DisplayLoss,
    ::testing::Values(DisplayCase{"RealProgramServerKilled", false, Loss::ServerKilled},
                      DisplayCase{"RealProgramConnectionKilled", false, Loss::ConnectionKilled},
                      DisplayCase{"HeatingServerKilled", true, Loss::ServerKilled},
                      DisplayCase{"HeatingConnectionKilled", true, Loss::ConnectionKilled}),
    [](const auto& info) { return std::string(info.param.name); });

// The window manager's close request comes while a message box is open over the window:
// it is remembered, and once the box is closed the window closes as its close control
// would have closed it (heater off, port closed, settings saved) and the program ends.
TEST(CloseRequest, MadeWhileABoxIsOpenIsCarriedOutWhenTheBoxCloses) {
    XServer x;
    if (!x.started()) {
        GTEST_SKIP() << x.error();
    }
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    // Heater commands not allowed: Start Run warns of it in a box.
    auto program = startDrivenProgram(rig, x, {"--boxes", "real", "--heater-allowed", "0"});
    ASSERT_TRUE(program->started());
    const std::uint32_t window = x.findWindow(kCaption, 8000);
    ASSERT_NE(window, 0u);
    const std::uint32_t box = x.findWindow("Quorvane", 8000);
    ASSERT_NE(box, 0u) << "no box";

    ASSERT_TRUE(x.requestClose(window));
    std::this_thread::sleep_for(1000ms);
    ASSERT_FALSE(program->wait(0)) << "ended with the box still open";
    const std::size_t offsBefore = countOf(rig.simulator->commands(), "!P00 ");

    ASSERT_TRUE(x.requestClose(box));
    const std::optional<int> status = program->wait(5000);
    ASSERT_TRUE(status) << "the close request was forgotten";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    ASSERT_TRUE(
        waitFor([&] { return countOf(rig.simulator->commands(), "!P00 ") == offsBefore + 1; }, 2s));
    EXPECT_EQ(rig.simulator->commands().back(), "!P00 ");
    const std::string settings = FaultRig::read(rig.settingsFile());
    EXPECT_NE(settings.find("MainWidth="), std::string::npos) << settings;
}

} // namespace
} // namespace quorvane::faults
