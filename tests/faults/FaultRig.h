#pragma once

#include "EventLoopWait.h"
#include "FileLines.h"
#include "RecordingDialogs.h"
#include "SimulatorProcess.h"
#include "fakes/FakeFileChooser.h"
#include "shell/MainWindowHost.h"
#include "shell/QtAppInfo.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::faults {

// The real window offscreen against the simulator, with its folders apart so that each
// can be given a fault of its own: program/ (icons, event log), data/ (data log files),
// and beside them the settings file, the simulator's log and the link to its pty.
// run(), runUntil(), read() and lines() come from the support classes.
class FaultRig : public support::EventLoopWait, public support::FileLines {
public:
    using Settings = std::vector<std::pair<std::string, std::string>>;

    // "$DATA" in a value stands for the data folder.
    explicit FaultRig(Settings settings = {});
    ~FaultRig();
    FaultRig(const FaultRig&) = delete;
    FaultRig& operator=(const FaultRig&) = delete;

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string programFolder() const { return path("program"); }
    std::string dataFolder() const { return path("data"); }
    std::string link() const { return path("ttyProbe"); }
    std::string settingsFile() const { return path("Quorvane.conf"); }
    std::string eventFile() const { return programFolder() + "/QuorvaneEvents.log"; }

    // The simulator on the link (always with a fixed seed).
    bool startSimulator(const std::vector<std::string>& args = {});
    // Copies the icons into the program folder (after a mount there hid them).
    void prepareProgramFolder();
    // The window's load and show.
    void startProgram();
    void closeProgram();

    MainView& view() { return m_host->window().view(); }
    MainWindowHost& host() { return *m_host; }
    void setField(const char* name, const std::string& text);
    void check(const char* name, bool checked);
    void click(const char* name);
    std::string status() { return view().StatusBar1[6]->text(); }
    std::string eventsPane() { return view().txtEventLog->text(); }

    // Initialize with data/<file> once the instrument has answered: heater commands
    // allowed, log 1 s, the given delay and heat time, level 120, "Log Hex".
    bool initialize(const std::string& file, int heatDelay, int heatTime);
    // Initialize, then Start Run.
    bool startRun(const std::string& file, int heatDelay, int heatTime);

    // The boxes shown whose text starts with `prefix`.
    int boxesStartingWith(const std::string& prefix) const;

    // The payloads of the data lines (RawHex layout) of a data log file.
    static std::vector<std::string> payloads(const std::vector<std::string>& lines);

    support::RecordingDialogs dialogs;
    fakes::FakeFileChooser chooser;
    std::unique_ptr<support::SimulatorProcess> simulator;

private:
    std::filesystem::path m_dir;
    std::unique_ptr<QtAppInfo> m_app;
    std::unique_ptr<MainWindowHost> m_host;
};

} // namespace quorvane::faults
