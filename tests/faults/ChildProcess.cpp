#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quorvane::faults {

using Clock = std::chrono::steady_clock;

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::pair<std::string, std::string>>& environment) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    // Everything the child needs is prepared before the fork: only async-signal-safe calls
    // may follow it in a process that may have threads.
    std::vector<std::string> args = argv;
    std::vector<char*> cargv;
    for (std::string& a : args) {
        cargv.push_back(a.data());
    }
    cargv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    for (const auto& [name, value] : environment) {
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
        env.push_back(name + "=" + value);
    }
    std::vector<char*> cenv;
    for (std::string& e : env) {
        cenv.push_back(e.data());
    }
    cenv.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execve(cargv[0], cargv.data(), cenv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (m_pid < 0) {
        ::close(out[0]);
        return;
    }
    m_stdout = out[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (m_stdout >= 0) {
        ::close(m_stdout);
    }
}

std::optional<std::string> ChildProcess::readLine(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || m_stdout < 0) {
            return std::nullopt;
        }
        pollfd p{m_stdout, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(m_stdout, buffer, sizeof buffer);
        if (n <= 0) {
            ::close(m_stdout);
            m_stdout = -1;
            continue;
        }
        m_pending.append(buffer, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::waitForLine(const std::string& line, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        const std::optional<std::string> got = readLine(static_cast<int>(left));
        if (!got) {
            return false;
        }
        if (*got == line) {
            return true;
        }
    }
}

void ChildProcess::signal(int signal) {
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, signal);
    }
}

std::optional<int> ChildProcess::wait(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_status && m_pid > 0) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
            break;
        }
        if (Clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_status;
}

} // namespace quorvane::faults
