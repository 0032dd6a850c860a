#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/TextFiles.h"
#include "platform/TextPane.h"

#include <string>

namespace quorvane {

// Time-stamped event lines, to the Events pane and to the event log file beside the program.
class EventLog {
public:
    // `sysTime` is the window's shared clock record: each event refills it.
    EventLog(const Clock& clock, SystemTime& sysTime, TextPane& txtEventLog, TextFiles& files,
             Dialogs& dialogs, std::string eventFilePath);

    void logEvent(const std::string& text);
    // Appends one line to the event log file; true when it failed (after its message).
    bool logToEventFile(const std::string& line);

    const std::string& eventFilePath() const { return m_path; }

private:
    const Clock& m_clock;
    SystemTime& m_sysTime;
    TextPane& m_pane;
    TextFiles& m_files;
    Dialogs& m_dialogs;
    std::string m_path;
    bool m_failing = false;
};

} // namespace quorvane
