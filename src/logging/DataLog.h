#pragma once

#include "logging/OutputFile.h"
#include "platform/Dialogs.h"
#include "platform/TextFiles.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <set>
#include <string>

namespace quorvane {

// Appends lines to the operator's data log file.
//
// A line that cannot be written is not lost: it is held, in order, and written before the
// next line once the file can be written again (a full disk freed, a file released by
// another program). Held lines go only to the file they were meant for. Each file that
// fails raises one box, at its first failure.
class DataLog {
public:
    // Lines held beyond this are dropped oldest first (about a day of records at 1 s).
    static constexpr std::size_t kMaxHeldLines = 100000;

    DataLog(TextFiles& files, Dialogs& dialogs, const OutputFile& outputFile);

    // True when the line could not be written now (after its message, the first time).
    bool logToFile(const std::string& line);

    // The operator has chosen another data log file: the lines still held for the files
    // before get one more try, and what still fails is given up.
    void leaveHeldFiles() { retryHeld(true); }
    // The held lines get one more try (Finish, the end of the program). With `giveUp` what
    // still fails is dropped, as nothing will try it again; otherwise it stays held.
    void retryHeld(bool giveUp);

    // Told when held lines have been written after a fault, and how many were dropped.
    void onRecovered(std::function<void(std::size_t written, std::size_t dropped)> reaction) {
        m_onRecovered = std::move(reaction);
    }
    // Told, for each file that had held lines at a retry, how many of them reached it and
    // how many could not be written.
    void onRetried(
        std::function<void(const std::string& path, std::size_t written, std::size_t unwritten)>
            reaction) {
        m_onRetried = std::move(reaction);
    }
    std::size_t heldLines() const { return m_held.size(); }

private:
    struct HeldLine {
        std::string path;
        std::string line;
    };
    // Tries every held line, each file in its order; false when a line of `path` failed.
    bool writeHeld(const std::string& path);
    void hold(const std::string& path, const std::string& line);

    TextFiles& m_files;
    Dialogs& m_dialogs;
    const OutputFile& m_outputFile;
    std::deque<HeldLine> m_held;
    std::size_t m_dropped = 0;
    std::size_t m_writtenAfterFault = 0;
    // Files whose failure has been reported and that have not recovered.
    std::set<std::string> m_failing;
    std::function<void(std::size_t, std::size_t)> m_onRecovered;
    std::function<void(const std::string&, std::size_t, std::size_t)> m_onRetried;
};

} // namespace quorvane
