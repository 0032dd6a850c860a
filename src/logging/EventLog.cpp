#include "logging/EventLog.h"

#include "logging/DisplayPanes.h"
#include "logging/EventStamp.h"
#include "util/ErrorText.h"

namespace quorvane {

EventLog::EventLog(const Clock& clock, SystemTime& sysTime, TextPane& txtEventLog, TextFiles& files,
                   Dialogs& dialogs, std::string eventFilePath)
    : m_clock(clock), m_sysTime(sysTime), m_pane(txtEventLog), m_files(files), m_dialogs(dialogs),
      m_path(std::move(eventFilePath)) {}

void EventLog::logEvent(const std::string& text) {
    m_sysTime = m_clock.nowUtc();
    const std::string line = formatEventStamp(m_sysTime) + ": " + text;
    appendToPane(m_pane, line + "\r\n");
    logToEventFile(line);
}

bool EventLog::logToEventFile(const std::string& line) {
    try {
        m_files.appendLine(m_path, line);
        m_failing = false;
        return false;
    } catch (const std::exception& error) {
        // A folder that stays read-only would otherwise raise a box for every event.
        if (!m_failing) {
            m_failing = true;
            m_dialogs.showMessage(
                "logToEventFile: Error writing to the application event file.\r\n" +
                    errorLine(error),
                "Quorvane");
        }
        return true;
    }
}

} // namespace quorvane
