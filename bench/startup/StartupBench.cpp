// Start-up time: a new process (this program again, with --child) builds the window with
// its services as start-up does, loads it (settings, serial port, Coms Check with the
// simulator on the link, heater off) and shows it; the time runs from the fork to the
// first paint of the window. Repeated; the longest counts.
//   bench_startup [--runs N]
#include "BenchWindow.h"
#include "SimulatorProcess.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace quorvane;
using namespace quorvane::bench;

namespace {

// Tells the parent once the window has been painted, then ends the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_told) {
            m_told = true;
            std::printf("SHOWN\n");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_told = false;
};

int child(int argc, char** argv, const std::string& settings, const std::string& folder) {
    QApplication application(argc, argv);
    // The application takes LC_NUMERIC from the environment; the report's figures do not.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName("Quorvane");
    QCoreApplication::setApplicationName("Quorvane");
    QtAppInfo app(folder + "/quorvane.lock");
    CountingDialogs dialogs;
    MainWindowHost::Options options;
    options.settingsFile = settings;
    options.programFolder = folder;
    options.dialogs = &dialogs;
    MainWindowHost host(app, options);
    FirstPaint paint;
    host.window().installEventFilter(&paint);
    host.start();
    const int result = QApplication::exec();
    host.close();
    return result + dialogs.shown();
}

// Milliseconds from the fork to the child's word, or a negative number on failure.
double timeOneStart(const std::string& self, const std::string& settings,
                    const std::string& folder) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        return -1;
    }
    std::vector<std::string> args = {self, "--child", settings, folder};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    char c = 0;
    while (::poll(&p, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') {
        line.push_back(c);
    }
    const auto shown = std::chrono::steady_clock::now();
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (line != "SHOWN") {
        return -1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_startup: the child ended with status %d\n", status);
    }
    return std::chrono::duration<double, std::milli>(shown - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        return child(argc, argv, argv[2], argv[3]);
    }
    int runs = 10;
    if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::max(1, std::atoi(argv[2]));
    }
    BenchWindow folder("startup");
    support::SimulatorProcess simulator(folder.link(), folder.path("probe.log"), {});
    if (!simulator.started()) {
        std::fprintf(stderr, "bench_startup: the simulator did not start\n");
        return 1;
    }
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        return 1;
    }
    self[n] = '\0';
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timeOneStart(self, folder.path("Quorvane.conf"), folder.path(""));
        if (ms < 0) {
            std::fprintf(stderr, "bench_startup: start %d did not show the window\n", i + 1);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double longest = times.back();
    std::printf("start-up to the window shown, %d starts: fastest %.0f ms, median %.0f ms, "
                "slowest %.0f ms\n",
                runs, times.front(), median, longest);
    char value[64];
    std::snprintf(value, sizeof value, "%.0f ms (median %.0f ms)", longest, median);
    std::printf("| start-up to the window shown, slowest of %d | %s | < 1000 ms | %s |\n", runs,
                value, longest < 1000 ? "MET" : "MISSED");
    return longest < 1000 ? 0 : 1;
}
