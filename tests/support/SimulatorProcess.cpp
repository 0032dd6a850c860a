#include "SimulatorProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::support {

SimulatorProcess::SimulatorProcess(const std::string& linkPath, const std::string& logPath,
                                   const std::vector<std::string>& extraArgs, int seed)
    : m_logPath(logPath) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> args = {
        QUORVANE_PROBE_SIM_PATH, "--link", linkPath, "--log", logPath, "--seed",
        std::to_string(seed)};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    // Built before the fork: the child only calls what is safe there.
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_stdout = out[0];
    // The first line is the pty path: the link is in place once it is printed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::string line;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{m_stdout, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char c;
            if (::read(m_stdout, &c, 1) != 1) {
                break;
            }
            if (c == '\n') {
                m_ptyPath = line;
                break;
            }
            line.push_back(c);
        }
    }
}

SimulatorProcess::~SimulatorProcess() {
    stop();
    if (m_stdout >= 0) {
        ::close(m_stdout);
    }
}

void SimulatorProcess::stop() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
}

std::vector<std::string> SimulatorProcess::logEvents() const {
    std::vector<std::string> out;
    std::ifstream in(m_logPath);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) {
            out.push_back(line.substr(space + 1));
        }
    }
    return out;
}

std::vector<std::string> SimulatorProcess::eventsAfter(const std::string& keyword) const {
    std::vector<std::string> out;
    for (const std::string& e : logEvents()) {
        if (e.rfind(keyword, 0) == 0) {
            out.push_back(e.substr(keyword.size()));
        }
    }
    return out;
}

std::vector<std::string> SimulatorProcess::commands() const {
    return eventsAfter("CMD ");
}

std::vector<std::string> SimulatorProcess::goodPayloads() const {
    return eventsAfter("SENT-GOOD ");
}

std::size_t SimulatorProcess::count(const std::string& event) const {
    std::size_t n = 0;
    for (const std::string& e : logEvents()) {
        n += e.compare(0, event.size(), event) == 0 &&
                     (e.size() == event.size() || e[event.size()] == ' ')
                 ? 1
                 : 0;
    }
    return n;
}

std::vector<std::chrono::system_clock::time_point>
SimulatorProcess::times(const std::string& event) const {
    std::vector<std::chrono::system_clock::time_point> out;
    std::ifstream in(m_logPath);
    for (std::string line; std::getline(in, line);) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || line.substr(space + 1) != event) {
            continue;
        }
        // "2026-12-07T13:51:10.999Z"
        std::tm tm{};
        int ms = 0;
        if (std::sscanf(line.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                        &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &ms) != 7) {
            continue;
        }
        tm.tm_year -= 1900;
        tm.tm_mon -= 1;
        out.push_back(std::chrono::system_clock::from_time_t(::timegm(&tm)) +
                      std::chrono::milliseconds(ms));
    }
    return out;
}

} // namespace quorvane::support
