#include "logging/DataLog.h"

#include "util/ErrorText.h"

#include <set>

namespace quorvane {

DataLog::DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile)
    : m_files(files), m_dialogs(dialogs), m_outputFile(outputFile) {}

bool DataLog::writeHeld() {
    // Lines of a file that still fails stay held, and so do the later ones of that file,
    // so that each file keeps its lines in order.
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
    return failingPaths.count(m_outputFile.path()) == 0;
}

bool DataLog::logToFile(const std::string& line) {
    const std::string path = m_outputFile.path();
    const bool pathClear = m_held.empty() || writeHeld();
    if (pathClear) {
        try {
            m_files.appendLine(path, line);
            if (m_failing && m_held.empty()) {
                m_failing = false;
                if (m_onRecovered) {
                    m_onRecovered(m_writtenAfterFault, m_dropped);
                }
                m_writtenAfterFault = 0;
                m_dropped = 0;
            }
            return false;
        } catch (const std::exception& error) {
            if (!m_failing) {
                m_failing = true;
                m_dialogs.showMessage(
                    "logToFile: Error writing data to logfile.\r\n" + errorLine(error), "Quorvane");
            }
        }
    }
    m_failing = true;
    m_held.push_back({path, line});
    if (m_held.size() > kMaxHeldLines) {
        m_held.pop_front();
        ++m_dropped;
    }
    return true;
}

} // namespace quorvane
