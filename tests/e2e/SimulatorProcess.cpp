#include "SimulatorProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::e2e {

SimulatorProcess::SimulatorProcess(const std::string& linkPath, const std::string& logPath,
                                   const std::vector<std::string>& extraArgs)
    : m_logPath(logPath) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<std::string> args = {
        QUORVANE_PROBE_SIM_PATH, "--link", linkPath, "--log", logPath, "--seed", "7"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_stdout = out[0];
    // The first line is the pty path.
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

std::vector<std::string> SimulatorProcess::commands() const {
    std::vector<std::string> out;
    for (const std::string& e : logEvents()) {
        if (e.rfind("CMD ", 0) == 0) {
            out.push_back(e.substr(4));
        }
    }
    return out;
}

std::vector<std::string> SimulatorProcess::goodPayloads() const {
    std::vector<std::string> out;
    for (const std::string& e : logEvents()) {
        if (e.rfind("SENT-GOOD ", 0) == 0) {
            out.push_back(e.substr(10));
        }
    }
    return out;
}

} // namespace quorvane::e2e
