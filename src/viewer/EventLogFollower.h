#pragma once

#include "viewer/FileWatcher.h"

#include <QtGlobal>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Follows the program's event log and tells which data log file a run writes: at each new
// "START RUN." line the file named after "Logfile: ". When it starts, the last run already
// in the log counts as new, so a run under way is found. "END RUN." and "RESUMED RUN."
// lines tell whether a run is going on.
class EventLogFollower {
public:
    struct Reactions {
        std::function<void(const std::string& dataFile)> runStarted;
        std::function<void(bool running)> runStateChanged;
    };

    EventLogFollower(FileWatcher& watcher, Reactions reactions);

    void start(const std::string& eventLogPath);
    void stop();
    void poll();

    bool isFollowing() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    bool runRunning() const { return m_running; }
    bool exists() const { return m_exists; }

    // The data log file named by one START RUN line, nullopt for other lines.
    static std::optional<std::string> startRunFile(std::string_view line);

private:
    void readLine(std::string_view line);

    FileWatcher& m_watcher;
    Reactions m_reactions;
    std::string m_path;
    qint64 m_offset = 0;
    std::string m_partial;
    bool m_exists = false;
    bool m_running = false;
    bool m_firstRead = true;
    std::optional<std::string> m_lastStart;
};

} // namespace quorvane
