// Runs the real program on a pty: what the program under test will meet.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), QUORVANE_PROBE_SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_stdout = out[0];
    }
    ~SimProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_stdout >= 0) {
            close(m_stdout);
        }
    }

    // One line of the program's stdout, or "" after the timeout.
    std::string readLine(std::chrono::milliseconds timeout = 5000ms) {
        const auto end = Clock::now() + timeout;
        for (;;) {
            if (const auto nl = m_out.find('\n'); nl != std::string::npos) {
                std::string line = m_out.substr(0, nl);
                m_out.erase(0, nl + 1);
                return line;
            }
            if (!waitReadable(m_stdout, end)) {
                return "";
            }
            char buf[256];
            const ssize_t n = read(m_stdout, buf, sizeof buf);
            if (n <= 0) {
                return "";
            }
            m_out.append(buf, std::size_t(n));
        }
    }

    // Signals the program and returns its exit status (-1 when it did not end in time).
    int terminate() {
        kill(m_pid, SIGTERM);
        return waitExit();
    }
    int waitExit() {
        for (auto end = Clock::now() + 5s; Clock::now() < end;) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            poll(nullptr, 0, 10);
        }
        return -1;
    }

    static bool waitReadable(int fd, Clock::time_point end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, int(left.count())) > 0;
    }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    std::string m_out;
};

// Reads from fd until `lines` CR LF-terminated lines are in, the line ends, or time is up.
std::string readLines(int fd, int lines, std::chrono::milliseconds timeout = 5000ms) {
    std::string got;
    const auto end = Clock::now() + timeout;
    auto count = [&got] {
        int n = 0;
        for (std::size_t at = 0; (at = got.find("\r\n", at)) != std::string::npos; at += 2) {
            ++n;
        }
        return n;
    };
    while (count() < lines && SimProcess::waitReadable(fd, end)) {
        char buf[512];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) {
            break;
        }
        got.append(buf, std::size_t(n));
    }
    return got;
}

std::filesystem::path scratchDir() {
    auto dir =
        std::filesystem::temp_directory_path() / ("probe-sim-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

TEST(ProbeSimProcess, AnswersComsCheckAndDataRequestOnItsPty) {
    const auto dir = scratchDir();
    const auto link = dir / "ttyProbe";
    SimProcess sim({"--seed", "5", "--link", link.string(), "--serial", "0417"});
    const std::string path = sim.readLine();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link), path);

    const int fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << strerror(errno);
    ASSERT_EQ(write(fd, "#HFN#HFHT", 9), 9);
    const std::string got = readLines(fd, 3);
    close(fd);
    const std::string expectedHead = "#HFN 0417\r\nQuorvane Serial Heatflow, Ver 2.31\r\n";
    ASSERT_EQ(got.size(), expectedHead.size() + 45) << got;
    EXPECT_EQ(got.substr(0, expectedHead.size()), expectedHead);
    EXPECT_EQ(got.substr(expectedHead.size(), 8), ":\x03T 0001");
    EXPECT_EQ(got.substr(got.size() - 2), "\r\n");

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    std::filesystem::remove_all(dir);
}

TEST(ProbeSimProcess, HangsUpThenComesBackBehindTheSameLink) {
    const auto dir = scratchDir();
    const auto link = dir / "ttyProbe";
    SimProcess sim(
        {"--link", link.string(), "--hangup-after", "1", "--restart", "--restart-delay-ms", "50"});
    const std::string first = sim.readLine();
    ASSERT_FALSE(first.empty());
    int fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "T", 1), 1);
    EXPECT_EQ(readLines(fd, 1).size(), 45u);
    // The line goes away: the reader sees end of file or an error.
    pollfd p{fd, POLLIN, 0};
    ASSERT_GT(poll(&p, 1, 5000), 0);
    char c;
    EXPECT_LE(read(fd, &c, 1), 0);
    close(fd);

    const std::string second = sim.readLine();
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link), second);
    fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "T", 1), 1);
    EXPECT_EQ(readLines(fd, 1).substr(0, 8), ":\x03T 0002");
    close(fd);
    EXPECT_EQ(sim.terminate(), 0);
    std::filesystem::remove_all(dir);
}

} // namespace
