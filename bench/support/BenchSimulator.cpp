#include "BenchSimulator.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::bench {

BenchSimulator::BenchSimulator(const std::string& linkPath, const std::string& logPath,
                               const std::vector<std::string>& extraArgs)
    : m_logPath(logPath) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> args = {
        QUORVANE_PROBE_SIM_PATH, "--link", linkPath, "--log", logPath, "--seed", "11"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
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
    // The first line is the pty path: the link is in place once it is printed.
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    while (::poll(&p, 1, 5000) > 0 && ::read(out[0], &c, 1) == 1) {
        if (c == '\n') {
            m_ready = true;
            break;
        }
    }
    ::close(out[0]);
}

BenchSimulator::~BenchSimulator() {
    stop();
}

void BenchSimulator::stop() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
}

std::size_t BenchSimulator::count(const std::string& event) const {
    std::ifstream in(m_logPath);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) {
        const std::size_t space = line.find(' ');
        n += space != std::string::npos && line.compare(space + 1, event.size(), event) == 0 &&
                     (line.size() == space + 1 + event.size() ||
                      line[space + 1 + event.size()] == ' ')
                 ? 1
                 : 0;
    }
    return n;
}

std::vector<std::chrono::system_clock::time_point>
BenchSimulator::times(const std::string& event) const {
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

} // namespace quorvane::bench
