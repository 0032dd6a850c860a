// quorvane-probe-sim: a Quorvane heat-flow probe on a pseudo-terminal, for tests and soaks.

#include "DataFileWriter.h"
#include "ProbeSimulator.h"
#include "PtyDevice.h"
#include "SimLog.h"
#include "SimOptions.h"
#include "TruthWriter.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <random>
#include <unistd.h>

using namespace quorvane::probesim;
using Clock = std::chrono::steady_clock;

namespace {

int g_signalPipe[2] = {-1, -1};
constexpr auto kHangupGrace = std::chrono::milliseconds(2000);
constexpr auto kHangupSettle = std::chrono::milliseconds(100);
constexpr auto kHangupPoll = std::chrono::milliseconds(20);

void onSignal(int) {
    const int saved = errno;
    const char c = 's';
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &c, 1);
    errno = saved;
}

bool installSignals() {
    if (pipe(g_signalPipe) != 0) {
        return false;
    }
    for (int fd : g_signalPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

int timeoutMs(std::optional<Clock::time_point> when, Clock::time_point now) {
    if (!when) {
        return -1;
    }
    if (*when <= now) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*when - now).count();
    return int(std::min<long long>(ms, 60000));
}

std::optional<Clock::time_point> earliest(std::optional<Clock::time_point> a,
                                          std::optional<Clock::time_point> b) {
    if (!a) {
        return b;
    }
    if (!b) {
        return a;
    }
    return std::min(*a, *b);
}

class Runner {
public:
    Runner(const SimOptions& options, SimLog& log, std::uint64_t seed)
        : m_options(options), m_log(log), m_sim(options, seed, log, Clock::now()) {}

    ~Runner() { dropLink(); }

    bool openSession(std::string& error) {
        if (!m_pty.open(error)) {
            return false;
        }
        if (!m_options.linkPath.empty() &&
            !PtyDevice::pointLink(m_options.linkPath, m_pty.slavePath(), error)) {
            m_pty.close();
            return false;
        }
        m_linkedTo = m_pty.slavePath();
        m_sim.startSession(Clock::now());
        m_log.write("PTY " + m_pty.slavePath());
        m_log.flush();
        std::printf("%s\n", m_pty.slavePath().c_str());
        std::fflush(stdout);
        return true;
    }

    int run() {
        std::string error;
        if (!openSession(error)) {
            std::fprintf(stderr, "quorvane-probe-sim: %s\n", error.c_str());
            return 1;
        }
        bool waitWritable = false;
        std::optional<Clock::time_point> reopenAt;
        // A hang-up flushes what the reader has not taken yet, so it waits (a while) until
        // the program has read the last record. Written bytes reach the slave's queue a
        // moment later, so an empty queue counts only after a short settling time.
        bool hangupPending = false;
        Clock::time_point hangupSettled{};
        Clock::time_point hangupAt{};
        for (;;) {
            Clock::time_point now = Clock::now();
            pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {-1, 0, 0}};
            std::optional<Clock::time_point> wake = reopenAt;
            if (m_pty.isOpen()) {
                fds[1].fd = m_pty.masterFd();
                fds[1].events = POLLIN | (waitWritable ? POLLOUT : 0);
                wake = earliest(wake, m_sim.nextTick(now));
                if (hangupPending) {
                    wake = earliest(wake, now + kHangupPoll);
                }
                if (!waitWritable) {
                    wake = earliest(wake, m_sim.output().nextWriteTime(now));
                }
            }
            const int rc = poll(fds, 2, timeoutMs(wake, now));
            if (rc < 0 && errno != EINTR) {
                std::fprintf(stderr, "quorvane-probe-sim: poll: %s\n", std::strerror(errno));
                return 1;
            }
            if (fds[0].revents & POLLIN) {
                m_log.write("STOP");
                m_log.flush();
                return 0;
            }
            now = Clock::now();

            if (!m_pty.isOpen()) {
                if (reopenAt && now >= *reopenAt) {
                    reopenAt.reset();
                    if (!openSession(error)) {
                        std::fprintf(stderr, "quorvane-probe-sim: %s\n", error.c_str());
                        return 1;
                    }
                }
                continue;
            }

            if (fds[1].revents & POLLIN) {
                char buf[4096];
                const ssize_t n = read(m_pty.masterFd(), buf, sizeof buf);
                if (n > 0) {
                    m_sim.onInput(std::string_view(buf, std::size_t(n)), now);
                }
            }
            m_sim.onTick(now);
            const auto result = m_sim.output().writeSome(
                [this](const char* data, std::size_t size) {
                    return write(m_pty.masterFd(), data, size);
                },
                now);
            for (const auto& line : result.sent) {
                m_log.write(line);
            }
            waitWritable = result.blocked;
            m_log.flush();

            if (m_sim.hangupDue() && !hangupPending) {
                hangupPending = true;
                hangupSettled = now + kHangupSettle;
                hangupAt = now + kHangupGrace;
            }
            if (hangupPending &&
                ((now >= hangupSettled && m_pty.unreadBytes() == 0) || now >= hangupAt)) {
                hangupPending = false;
                hangup();
                if (!m_options.restart) {
                    m_log.write("STOP");
                    m_log.flush();
                    return 0;
                }
                reopenAt = Clock::now() + std::chrono::milliseconds(m_options.restartDelayMs);
                waitWritable = false;
            }
        }
    }

private:
    void hangup() {
        dropLink();
        m_pty.close();
        m_log.write("HANGUP");
        m_log.flush();
    }

    void dropLink() {
        if (!m_options.linkPath.empty() && !m_linkedTo.empty()) {
            PtyDevice::removeLink(m_options.linkPath, m_linkedTo);
            m_linkedTo.clear();
        }
    }

    const SimOptions& m_options;
    SimLog& m_log;
    ProbeSimulator m_sim;
    PtyDevice m_pty;
    std::string m_linkedTo;
};

// The file mode: the whole run at once, nothing in real time.
int writeFiles(const SimOptions& options, std::uint64_t seed) {
    std::string error;
    if (!DataFileWriter(options, seed).write(error) ||
        (!options.truthPath.empty() && !TruthWriter(options).write(error))) {
        std::fprintf(stderr, "quorvane-probe-sim: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "quorvane-probe-sim: %s\nTry --help.\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(SimOptions::helpText().c_str(), stdout);
        return 0;
    }
    const std::uint64_t seed = options->seed ? *options->seed : std::random_device{}();
    if (options->fileMode()) {
        return writeFiles(*options, seed);
    }
    if (!installSignals()) {
        std::fprintf(stderr, "quorvane-probe-sim: pipe: %s\n", std::strerror(errno));
        return 1;
    }

    std::ofstream logFile;
    if (!options->logPath.empty()) {
        logFile.open(options->logPath, std::ios::app);
        if (!logFile) {
            std::fprintf(stderr, "quorvane-probe-sim: cannot open log %s: %s\n",
                         options->logPath.c_str(), std::strerror(errno));
            return 1;
        }
    }
    SimLog log(logFile.is_open() ? &logFile : nullptr);

    const ReadingEncoder encoder(options->ref20k, options->ref100k);
    const double bottomWater = options->model.bottomWaterC;
    if (bottomWater < encoder.minTemperature() || bottomWater > encoder.maxTemperature()) {
        std::fprintf(stderr,
                     "quorvane-probe-sim: warning: bottom water %.3f C is outside %.2f..%.2f C, "
                     "readings saturate\n",
                     bottomWater, encoder.minTemperature(), encoder.maxTemperature());
    }

    Runner runner(*options, log, seed);
    return runner.run();
}
