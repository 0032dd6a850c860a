#pragma once

#include "EventLoopWait.h"
#include "FileLines.h"
#include "RecordingDialogs.h"
#include "SimulatorProcess.h"
#include "fakes/FakeFileChooser.h"
#include "shell/MainWindowHost.h"
#include "shell/QtAppInfo.h"

#include <QString>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

namespace quorvane::e2e {

// A whole program on a pseudo-terminal: the simulator, a settings file pointing COM2 at
// it, a program folder of its own (event log and icons), the real window and its owner.
// run(), runUntil(), read() and lines() come from the support classes.
class E2eRig : public support::EventLoopWait, public support::FileLines {
public:
    explicit E2eRig(std::vector<std::string> simulatorArgs = {},
                    std::vector<std::pair<std::string, std::string>> settings = {}) {
        static int counter = 0;
        m_dir = std::filesystem::temp_directory_path() /
                ("quorvane-e2e-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir / "icons");
        for (const auto& icon : std::filesystem::directory_iterator(QUORVANE_SOURCE_ICONS)) {
            std::filesystem::copy_file(icon.path(), m_dir / "icons" / icon.path().filename());
        }
        simulator =
            std::make_unique<support::SimulatorProcess>(link(), path("probe.log"), simulatorArgs);
        std::ofstream conf(path("Quorvane.conf"));
        conf << "[Ports]\nCOM2=" << link() << "\n\n[Settings]\n";
        for (const auto& [key, value] : settings) {
            conf << key << "=" << value << "\n";
        }
        conf.close();
        app = std::make_unique<QtAppInfo>(path("quorvane.lock"));
        MainWindowHost::Options options;
        options.settingsFile = path("Quorvane.conf");
        options.programFolder = m_dir.string();
        options.dialogs = &dialogs;
        host = std::make_unique<MainWindowHost>(*app, options);
        host->window().view().CommonDialog1 = &chooser;
    }
    ~E2eRig() {
        if (host) {
            host->close();
            host.reset();
        }
        simulator.reset();
        std::filesystem::remove_all(m_dir);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string link() const { return path("ttyProbe"); }
    MainView& view() { return host->window().view(); }
    // A widget of the window by its object name, e.g. "txtLogInterval" or "Option1(1)".
    template <typename T> T* control(const char* name) {
        return host->window().findChild<T*>(QString::fromLatin1(name));
    }

    std::string events() const { return read(path("QuorvaneEvents.log")); }

    support::RecordingDialogs dialogs;
    fakes::FakeFileChooser chooser;
    std::unique_ptr<support::SimulatorProcess> simulator;
    std::unique_ptr<QtAppInfo> app;
    std::unique_ptr<MainWindowHost> host;

private:
    std::filesystem::path m_dir;
};

} // namespace quorvane::e2e
