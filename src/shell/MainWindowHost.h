#pragma once

#include "logging/PosixTextFiles.h"
#include "logging/SystemClock.h"
#include "platform/Services.h"
#include "shell/BlockedCloseRequests.h"
#include "shell/FrmMain.h"
#include "shell/MainController.h"
#include "shell/QtAppInfo.h"
#include "shell/QtDialogs.h"
#include "shell/QtEventPump.h"
#include "shell/QtSettingsStore.h"
#include "shell/QtTimer.h"

#include <memory>
#include <string>

namespace quorvane {

// The real window with its services and its owner, wired together: what start-up builds,
// and what the window tests build with a settings file and program folder of their own.
class MainWindowHost {
public:
    struct Options {
        std::string settingsFile;   // empty: the per-user settings file
        std::string programFolder;  // empty: the folder that holds the program
        Dialogs* dialogs = nullptr; // null: real message boxes over the window
    };

    explicit MainWindowHost(QtAppInfo& app, Options options);
    ~MainWindowHost();
    MainWindowHost(const MainWindowHost&) = delete;
    MainWindowHost& operator=(const MainWindowHost&) = delete;

    // The window's load, then the window is shown.
    void start();
    // The window closes (its unload runs once).
    void close();
    // A stop from outside (a signal): the window closes and every event loop ends, also
    // that of a message box open in the middle of the load.
    void stop();
    // The display has gone away and the process is ending (the toolkit calls exit()): the
    // window's unload runs as at a stop, without touching the display.
    void displayLost();
    bool isClosed() const { return m_window.isUnloaded() || m_controller->isUnloaded(); }

    FrmMain& window() { return m_window; }
    MainController& controller() { return *m_controller; }
    BlockedCloseRequests& closeRequests() { return *m_closeRequests; }
    const AppInfo& appInfo() const { return *m_appInfo; }

private:
    class FolderAppInfo;

    Options m_options;
    std::unique_ptr<AppInfo> m_folderApp;
    AppInfo* m_appInfo;
    QtSettingsStore m_settings;
    SystemClock m_clock;
    PosixTextFiles m_files;
    QtDialogs m_boxes;
    QtEventPump m_pump;
    QtTimer m_recordWatchTimer{0, false};
    FrmMain m_window;
    std::unique_ptr<MainController> m_controller;
    std::unique_ptr<BlockedCloseRequests> m_closeRequests;
};

} // namespace quorvane
