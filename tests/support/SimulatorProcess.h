#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace quorvane::support {

// The probe simulator as a child process on a pseudo-terminal reached through a link,
// logging to a file of its own. Used by the end-to-end and fault tests and the benchmarks.
class SimulatorProcess {
public:
    SimulatorProcess(const std::string& linkPath, const std::string& logPath,
                     const std::vector<std::string>& extraArgs = {}, int seed = 7);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool started() const { return m_pid > 0 && !m_ptyPath.empty(); }
    const std::string& ptyPath() const { return m_ptyPath; }
    // SIGTERM, then wait for the process: the link is removed and the pty hung up.
    void stop();
    int pid() const { return m_pid; }

    // The simulator's log: lines after the stamp, e.g. "CMD T", "SENT-GOOD  0001 ...".
    std::vector<std::string> logEvents() const;
    // The commands received, in order ("CMD " lines without the keyword).
    std::vector<std::string> commands() const;
    // The payloads of the records the program must accept, in order.
    std::vector<std::string> goodPayloads() const;
    // How many log lines are of one kind ("SENT-GOOD", "CMD T", ...).
    std::size_t count(const std::string& event) const;
    // The UTC times of the log lines that are exactly `event`.
    std::vector<std::chrono::system_clock::time_point> times(const std::string& event) const;

private:
    // The rest of the log lines that start with `keyword`.
    std::vector<std::string> eventsAfter(const std::string& keyword) const;

    std::string m_logPath;
    std::string m_ptyPath;
    int m_pid = -1;
    int m_stdout = -1;
};

} // namespace quorvane::support
