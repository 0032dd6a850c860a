#pragma once

#include "logging/OutputFile.h"
#include "platform/Dialogs.h"
#include "platform/TextFiles.h"

#include <functional>
#include <string>

namespace quorvane {

// Appends lines to the operator's data log file.
class DataLog {
public:
    DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile);

    // True when the line could not be written (after its message). While the same fault
    // goes on, only its first failure raises a box; the rest are counted.
    bool logToFile(const std::string& line);

    // Told once when writing works again after failures, with the number of lost lines.
    void onRecovered(std::function<void(int lostLines)> reaction) {
        m_onRecovered = std::move(reaction);
    }
    int failedLines() const { return m_failedLines; }

private:
    TextFiles& m_files;
    Dialogs& m_dialogs;
    const OutputFile& m_outputFile;
    int m_failedLines = 0;
    std::function<void(int)> m_onRecovered;
};

} // namespace quorvane
