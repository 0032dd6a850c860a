#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::faults {

// A program run as a child process with extra environment variables; its standard output
// is read line by line. Killed (SIGKILL) and reaped on destruction if still running.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::pair<std::string, std::string>>& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    int pid() const { return m_pid; }

    // The next line of standard output, or nothing when none came in time.
    std::optional<std::string> readLine(int timeoutMs);
    // Waits for a line equal to `line`, skipping others.
    bool waitForLine(const std::string& line, int timeoutMs);

    void signal(int signal);
    // The wait status once the process ended within the time, otherwise nothing.
    std::optional<int> wait(int timeoutMs);

private:
    int m_pid = -1;
    int m_stdout = -1;
    std::string m_pending;
    std::optional<int> m_status;
};

} // namespace quorvane::faults
