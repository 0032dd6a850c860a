#include "logging/DataLog.h"

#include "util/ErrorText.h"

namespace quorvane {

DataLog::DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile)
    : m_files(files), m_dialogs(dialogs), m_outputFile(outputFile) {}

bool DataLog::logToFile(const std::string& line) {
    try {
        m_files.appendLine(m_outputFile.path(), line);
    } catch (const std::exception& error) {
        if (m_failedLines++ == 0) {
            m_dialogs.showMessage(
                "logToFile: Error writing data to logfile.\r\n" + errorLine(error), "Quorvane");
        }
        return true;
    }
    if (m_failedLines > 0) {
        const int lost = m_failedLines;
        m_failedLines = 0;
        if (m_onRecovered) {
            m_onRecovered(lost);
        }
    }
    return false;
}

} // namespace quorvane
