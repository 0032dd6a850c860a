#pragma once

#include "fakes/FakeFileChooser.h"
#include "platform/Dialogs.h"
#include "shell/MainWindowHost.h"
#include "shell/QtAppInfo.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::bench {

// Message boxes that do not wait: a benchmark has no operator. Each text goes to stderr.
class CountingDialogs : public Dialogs {
public:
    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    void beep() override {}
    bool isMessageOpen() const override { return false; }
    int shown() const { return m_shown; }

private:
    int m_shown = 0;
};

// The real window in a folder of its own: settings file (COM2 on the simulator's link),
// program folder with icons (event log), data log files. Removed on destruction.
class BenchWindow {
public:
    explicit BenchWindow(const std::string& tag);
    ~BenchWindow();
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::string link() const { return path("ttyProbe"); }

    // Load and show.
    void start();
    void close();
    MainWindowHost& host() { return *m_host; }
    MainView& view() { return m_host->window().view(); }

    // Initialize with data.log and Start Run at the given log interval, no heater.
    bool startRun(int logInterval);
    void finishRun();
    // Data lines (not header lines) in the data log file.
    std::size_t loggedRecords() const;
    std::string dataFile() const { return path("data.log"); }

    static void runFor(int ms);
    static bool runUntil(const std::function<bool()>& condition, int timeoutMs);

    CountingDialogs dialogs;

private:
    std::filesystem::path m_dir;
    fakes::FakeFileChooser m_chooser;
    std::unique_ptr<QtAppInfo> m_app;
    std::unique_ptr<MainWindowHost> m_host;
};

} // namespace quorvane::bench
