#include "logging/DataLog.h"

#include "util/ErrorText.h"

#include <map>
#include <vector>

namespace quorvane {

DataLog::DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile)
    : m_files(files), m_dialogs(dialogs), m_outputFile(outputFile) {}

bool DataLog::writeHeld(const std::string& path) {
    // Once a line of a file fails, the later ones of that file stay held too, so that each
    // file keeps its lines in order.
    std::set<std::string> failingPaths;
    std::deque<HeldLine> stillHeld;
    for (HeldLine& held : m_held) {
        if (failingPaths.count(held.path) == 0) {
            try {
                m_files.appendLine(held.path, held.line);
                ++m_writtenAfterFault;
                continue;
            } catch (...) {
                failingPaths.insert(held.path);
            }
        }
        stillHeld.push_back(std::move(held));
    }
    m_held.swap(stillHeld);
    return failingPaths.count(path) == 0;
}

void DataLog::hold(const std::string& path, const std::string& line) {
    m_held.push_back({path, line});
    if (m_held.size() > kMaxHeldLines) {
        m_held.pop_front();
        ++m_dropped;
    }
}

bool DataLog::logToFile(const std::string& line) {
    const std::string path = m_outputFile.path();
    if (!m_held.empty() && !writeHeld(path)) {
        hold(path, line);
        return true;
    }
    try {
        m_files.appendLine(path, line);
    } catch (const std::exception& error) {
        if (m_failing.insert(path).second) {
            m_dialogs.showMessage(
                "logToFile: Error writing data to logfile.\r\n" + errorLine(error), "Quorvane");
        }
        hold(path, line);
        return true;
    }
    if (m_failing.erase(path) > 0) {
        if (m_onRecovered) {
            m_onRecovered(m_writtenAfterFault, m_dropped);
        }
        m_writtenAfterFault = 0;
        m_dropped = 0;
    }
    return false;
}

void DataLog::retryHeld(bool giveUp) {
    if (m_held.empty()) {
        if (giveUp) {
            m_failing.clear();
        }
        return;
    }
    std::vector<std::string> order;
    std::map<std::string, std::size_t> before;
    for (const HeldLine& held : m_held) {
        if (before[held.path]++ == 0) {
            order.push_back(held.path);
        }
    }
    writeHeld(std::string());
    std::map<std::string, std::size_t> after;
    for (const HeldLine& held : m_held) {
        ++after[held.path];
    }
    // Lines dropped for room count as not written, against the first file held.
    std::size_t dropped = m_dropped;
    for (const std::string& path : order) {
        const std::size_t unwritten = after[path] + dropped;
        dropped = 0;
        if (after[path] == 0) {
            // Written out: a later failure of the file is a new one, with its own box.
            m_failing.erase(path);
        }
        if (m_onRetried) {
            m_onRetried(path, before[path] - after[path], unwritten);
        }
    }
    // What this try wrote and dropped has been told; a later recovery tells only its own.
    m_dropped = 0;
    m_writtenAfterFault = 0;
    if (giveUp) {
        m_held.clear();
        m_failing.clear();
    }
}

} // namespace quorvane
