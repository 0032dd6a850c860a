#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quorvane::bench {

// The probe simulator as a child process on a pty reached through a link, logging to a
// file of its own.
class BenchSimulator {
public:
    BenchSimulator(const std::string& linkPath, const std::string& logPath,
                   const std::vector<std::string>& extraArgs);
    ~BenchSimulator();
    BenchSimulator(const BenchSimulator&) = delete;
    BenchSimulator& operator=(const BenchSimulator&) = delete;

    bool started() const { return m_pid > 0 && m_ready; }
    // SIGTERM, then wait: the link is removed and the pty hung up.
    void stop();

    // Counts of log lines of one kind ("SENT-GOOD", "CMD T", ...), read afresh.
    std::size_t count(const std::string& event) const;
    // The UTC times of the log lines of one kind.
    std::vector<std::chrono::system_clock::time_point> times(const std::string& event) const;

private:
    std::string m_logPath;
    int m_pid = -1;
    bool m_ready = false;
};

} // namespace quorvane::bench
