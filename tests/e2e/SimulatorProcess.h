#pragma once

#include <string>
#include <vector>

namespace quorvane::e2e {

// The probe simulator as a child process on a pseudo-terminal reached through a link.
class SimulatorProcess {
public:
    SimulatorProcess(const std::string& linkPath, const std::string& logPath,
                     const std::vector<std::string>& extraArgs = {});
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool started() const { return m_pid > 0 && !m_ptyPath.empty(); }
    const std::string& ptyPath() const { return m_ptyPath; }
    // SIGTERM, then wait for the process.
    void stop();
    int pid() const { return m_pid; }

    // The simulator's log: lines after the stamp, e.g. "CMD T", "SENT-GOOD  0001 ...".
    std::vector<std::string> logEvents() const;
    // The commands received, in order ("CMD " lines without the keyword).
    std::vector<std::string> commands() const;
    // The payloads of the records the program must accept, in order.
    std::vector<std::string> goodPayloads() const;

private:
    std::string m_logPath;
    std::string m_ptyPath;
    int m_pid = -1;
    int m_stdout = -1;
};

} // namespace quorvane::e2e
