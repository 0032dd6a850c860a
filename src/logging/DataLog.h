#pragma once

#include "logging/OutputFile.h"
#include "platform/Dialogs.h"
#include "platform/TextFiles.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace quorvane {

// Appends lines to the operator's data log file.
//
// A line that cannot be written is not lost: it is held, in order, and written before the
// next line once the file can be written again (a full disk freed, a file released by
// another program). While the same fault goes on only its first failure raises a box.
class DataLog {
public:
    // Lines held beyond this are dropped oldest first (about a day of records at 1 s).
    static constexpr std::size_t kMaxHeldLines = 100000;

    DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile);

    // True when the line could not be written now (after its message, the first time).
    bool logToFile(const std::string& line);

    // Told when held lines have been written after a fault, and how many were dropped.
    void onRecovered(std::function<void(std::size_t written, std::size_t dropped)> reaction) {
        m_onRecovered = std::move(reaction);
    }
    std::size_t heldLines() const { return m_held.size(); }

private:
    struct HeldLine {
        std::string path;
        std::string line;
    };
    bool writeHeld();

    TextFiles& m_files;
    Dialogs& m_dialogs;
    const OutputFile& m_outputFile;
    std::deque<HeldLine> m_held;
    std::size_t m_dropped = 0;
    std::size_t m_writtenAfterFault = 0;
    bool m_failing = false;
    std::function<void(std::size_t, std::size_t)> m_onRecovered;
};

} // namespace quorvane
