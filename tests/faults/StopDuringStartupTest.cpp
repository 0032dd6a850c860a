// A stop signal while a message box of the start-up is open, in the real binary: the
// program ends in order at once, without anyone dismissing the box. The load's boxes open
// once its commands (the heater-off last) have gone out; then one shutdown (heater off,
// port closed, settings saved).
#include "ChildProcess.h"
#include "FaultRig.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace quorvane::faults {
namespace {

using namespace std::chrono_literals;

struct StartupBoxCase {
    const char* name;
    // The [Ports] entries, "$LINK" standing for the simulator's link.
    std::string ports;
    std::string comPort;
    bool eventLogUnwritable;
    // Whether the box comes after the settings were all read.
    bool settingsLoaded;
    // How many heater-off commands reach the instrument (none with the port absent).
    std::size_t heaterOffs;
    int signal;
    // What shows that the load has come to its box: a command the simulator got, or an
    // event in the file (empty: nothing shows, so time alone).
    std::string commandBeforeBox;
    std::string eventBeforeBox;
};

void PrintTo(const StartupBoxCase& c, std::ostream* out) {
    *out << c.name;
}

const char* const kStoredSettings = "LogInterval=3\nHeatDelay=30\nHeatTime=40\nHeatLevel=50\n"
                                    "LogOption0=False\nLogOption1=True\n";

class StopDuringStartup : public ::testing::TestWithParam<StartupBoxCase> {};

TEST_P(StopDuringStartup, EndsAtOnceWithOneShutdownAndNoHalfLoadedSettings) {
    const StartupBoxCase& c = GetParam();
    FaultRig rig;
    ASSERT_TRUE(rig.startSimulator());
    rig.prepareProgramFolder();
    const std::string program = rig.programFolder() + "/quorvane";
    std::filesystem::copy_file(QUORVANE_PROGRAM_PATH, program);
    if (c.eventLogUnwritable) {
        // A folder where the event log file should be: no write can open it, root or not.
        std::filesystem::create_directories(rig.eventFile());
    }
    std::string ports = c.ports;
    if (const std::size_t at = ports.find("$LINK"); at != std::string::npos) {
        ports.replace(at, 5, rig.link());
    }
    const std::string conf = rig.path("config/Quorvane/Quorvane.conf");
    std::filesystem::create_directories(rig.path("config/Quorvane"));
    const std::string stored =
        ports + "\n[Settings]\nComPort=" + c.comPort + "\n" + kStoredSettings;
    std::ofstream(conf) << stored;

    std::filesystem::create_directories(rig.path("runtime"));
    std::filesystem::permissions(rig.path("runtime"), std::filesystem::perms::owner_all);
    ChildProcess child({program}, {{"QT_QPA_PLATFORM", "offscreen"},
                                   {"TMPDIR", rig.path("")},
                                   {"XDG_RUNTIME_DIR", rig.path("runtime")},
                                   {"XDG_CONFIG_HOME", rig.path("config")}});
    ASSERT_TRUE(child.started());
    // The box is up well within these times, and stays up: nobody dismisses it.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    auto seen = [&] {
        if (!c.commandBeforeBox.empty()) {
            const auto commands = rig.simulator->commands();
            return std::find(commands.begin(), commands.end(), c.commandBeforeBox) !=
                   commands.end();
        }
        if (!c.eventBeforeBox.empty()) {
            return FaultRig::read(rig.eventFile()).find(c.eventBeforeBox) != std::string::npos;
        }
        return true;
    };
    while (!seen() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(seen());
    std::this_thread::sleep_for(c.commandBeforeBox.empty() && c.eventBeforeBox.empty() ? 1500ms
                                                                                       : 400ms);
    ASSERT_FALSE(child.wait(0)) << "the program ended on its own";

    child.signal(c.signal);
    const std::optional<int> status = child.wait(4000);
    ASSERT_TRUE(status) << "still running with its box open";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;

    std::this_thread::sleep_for(100ms);
    const std::vector<std::string> commands = rig.simulator->commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "!P00 "),
              static_cast<std::ptrdiff_t>(c.heaterOffs));
    if (c.heaterOffs > 0) {
        EXPECT_EQ(commands.back(), "!P00 ");
    }
    const std::string saved = FaultRig::read(conf);
    if (c.settingsLoaded) {
        for (const std::string& key : std::vector<std::string>{
                 "HeatDelay=30", "LogOption1=True", "MainWidth=", "ComPort=" + c.comPort}) {
            EXPECT_NE(saved.find(key), std::string::npos) << key << " in\n" << saved;
        }
    } else {
        EXPECT_EQ(saved, stored);
    }
    if (!c.eventLogUnwritable) {
        const std::string events = FaultRig::read(rig.eventFile());
        std::size_t offs = 0;
        for (std::size_t at = events.find("Sending heater off command"); at != std::string::npos;
             at = events.find("Sending heater off command", at + 1)) {
            ++offs;
        }
        EXPECT_EQ(offs, 2u) << events; // the load's, before the box, and the shutdown's
    }
}

INSTANTIATE_TEST_SUITE_P(
    StartupBoxes, StopDuringStartup,
    ::testing::Values(
        // The first event of the load (a Coms Check of the settings) cannot be written: the
        // box opens after the load's heater-off.
        StartupBoxCase{"EventLogUnwritable", "[Ports]\nCOM2=$LINK\n", "COM2", true, true, 2,
                       SIGTERM, "!P00 ", ""},
        // The stored port COM5 is absent: configuring it fails after the settings.
        StartupBoxCase{"StoredPortAbsent", "[Ports]\nCOM2=$LINK\nCOM5=/nonexistent/ttyGone\n",
                       "COM5", false, true, 0, SIGINT, "", "Program loaded."},
        // The port the settings' Coms Checks open is absent: one box, after the load's
        // commands.
        StartupBoxCase{"ComsCheckPortAbsent", "[Ports]\nCOM2=/nonexistent/ttyGone\n", "COM2", false,
                       true, 0, SIGHUP, "", "Sending heater off command"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane::faults
