// The real window offscreen with a run going (a data request every second, each answer
// logged), against the simulator in phases:
//   run       the simulator answers the data requests, nothing more
//   flood     it also sends records unasked at --rate characters a second
//   garbage   it also sends random bytes without line breaks at --rate characters a second
// Each phase has a simulator of its own on the same link, so between phases the device
// goes away and comes back. Measured: the longest serial poll tick (the handler of the
// poll timer: read, serial pane, parsing pass, data log), the event-loop latency (how late
// a 50 ms timer of our own comes), records sent and logged, and resident memory.
//   bench_loop --phase run:900 --phase garbage:900 --rate 2880 --report-every 60
#include "BenchWindow.h"
#include "LoopTimer.h"
#include "SimulatorProcess.h"
#include "TimingApplication.h"
#include "util/DecimalText.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace quorvane;
using namespace quorvane::bench;

namespace {

struct Phase {
    std::string kind;
    int seconds = 0;
};

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

void row(const std::string& figure, const std::string& value, const std::string& target, bool met) {
    std::printf("| %s | %s | %s | %s |\n", figure.c_str(), value.c_str(), target.c_str(),
                met ? "MET" : "MISSED");
}

std::string ms(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f ms", value);
    return buffer;
}

int usage() {
    std::fprintf(stderr, "usage: bench_loop --phase run|flood|garbage:SECONDS ... [--rate CPS]\n"
                         "                  [--report-every SECONDS] [--label TEXT] [--memory]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::vector<Phase> phases;
    double rate = 11520;
    int reportEvery = 0;
    std::string label;
    bool memoryVerdict = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--memory") {
            memoryVerdict = true;
            --i;
            continue;
        }
        if (i + 1 >= argc) {
            return usage();
        }
        const std::string value = argv[i + 1];
        if (name == "--phase") {
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos) {
                return usage();
            }
            phases.push_back({value.substr(0, colon), std::atoi(value.c_str() + colon + 1)});
            if (phases.back().kind != "run" && phases.back().kind != "flood" &&
                phases.back().kind != "garbage") {
                return usage();
            }
        } else if (name == "--rate") {
            rate = std::atof(value.c_str());
        } else if (name == "--report-every") {
            reportEvery = std::atoi(value.c_str());
        } else if (name == "--label") {
            label = value;
        } else {
            return usage();
        }
    }
    if (phases.empty() || rate <= 0) {
        return usage();
    }

    TimingApplication app(argc, argv);
    LoopTimer loop;
    BenchWindow window("loop");
    bool allMet = true;
    long firstRss = -1;
    long rssLate = -1;
    int totalSeconds = 0;
    for (const Phase& p : phases) {
        totalSeconds += p.seconds;
    }
    QElapsedTimer sinceStart;
    double worstPoll = 0;
    double worstLate = 0;

    for (std::size_t index = 0; index < phases.size(); ++index) {
        const Phase& phase = phases[index];
        std::vector<std::string> simArgs;
        // The simulator reads a point; "%g" would write the locale's comma after QApplication.
        const std::string rateText = decimalText::plainDigits(rate);
        if (phase.kind != "run") {
            simArgs = {"--flood-rate", rateText};
            if (phase.kind == "garbage") {
                simArgs.push_back("--flood-garbage");
            }
        }
        const std::string simLog = window.path("probe-" + std::to_string(index + 1) + ".log");
        support::SimulatorProcess simulator(window.link(), simLog, simArgs);
        if (!simulator.started()) {
            std::fprintf(stderr, "bench_loop: the simulator did not start\n");
            return 1;
        }
        if (index == 0) {
            window.start();
            if (!window.startRun(1)) {
                std::fprintf(stderr, "bench_loop: the run did not start\n");
                return 1;
            }
            sinceStart.start();
        }
        const std::size_t loggedBefore = window.loggedRecords();
        const std::size_t sentBefore = simulator.count("SENT-GOOD");
        app.reset();
        loop.reset();
        const long rssStart = residentKb();
        if (firstRss < 0) {
            firstRss = rssStart;
        }
        QElapsedTimer inPhase;
        inPhase.start();
        int nextReport = reportEvery;
        while (inPhase.elapsed() < phase.seconds * 1000LL) {
            BenchWindow::runFor(200);
            if (rssLate < 0 && sinceStart.elapsed() >= totalSeconds * 750LL) {
                rssLate = residentKb();
            }
            if (reportEvery > 0 && inPhase.elapsed() >= nextReport * 1000LL) {
                nextReport += reportEvery;
                std::printf("  %6llds  %-7s sent %7zu  logged %7zu  poll tick max %7.1f ms  "
                            "loop late max %7.1f ms  RSS %ld kB\n",
                            static_cast<long long>(sinceStart.elapsed() / 1000), phase.kind.c_str(),
                            simulator.count("SENT-GOOD") - sentBefore,
                            window.loggedRecords() - loggedBefore, app.longestPollTickMs(),
                            loop.longestLateMs(), residentKb());
                std::fflush(stdout);
            }
        }
        // Answers still on their way are waited for, so that stopping the simulator loses
        // nothing that was sent.
        if (phase.kind == "run") {
            BenchWindow::runUntil(
                [&] {
                    return window.loggedRecords() - loggedBefore >=
                           simulator.count("SENT-GOOD") - sentBefore;
                },
                3000);
        }
        const std::size_t sent = simulator.count("SENT-GOOD") - sentBefore;
        const std::size_t logged = window.loggedRecords() - loggedBefore;
        const double poll = app.longestPollTickMs();
        const double late = loop.longestLateMs();
        const double gapCpu = loop.longestGapCpuMs();
        const long rssEnd = residentKb();
        const double anyHandler = app.longestHandlerMs();
        const QString anyWhat = app.longestHandlerWhat();
        if (index + 1 == phases.size()) {
            window.finishRun();
            BenchWindow::runFor(300);
        }
        simulator.stop();
        worstPoll = std::max(worstPoll, poll);
        worstLate = std::max(worstLate, late);

        const std::string what =
            (label.empty() ? "" : label + ", ") +
            (phases.size() > 1 ? "phase " + std::to_string(index + 1) + " " : std::string()) +
            phase.kind + (phase.kind == "run" ? "" : " " + std::string(rateText) + " char/s") +
            ", " + std::to_string(phase.seconds) + " s";
        std::printf("%s: records sent %zu, logged %zu; poll ticks %ld, longest %.1f ms; "
                    "loop latency max %.1f ms; RSS %ld -> %ld kB\n",
                    what.c_str(), sent, logged, app.pollTicks(), poll, late, rssStart, rssEnd);
        std::printf("  longest handler of any event: %.1f ms, %s; the longest loop gap was "
                    "%.1f ms, of which this process ran %.1f ms\n",
                    anyHandler, anyWhat.toLatin1().constData(), late + LoopTimer::kPeriodMs,
                    gapCpu);
        const bool pollMet = poll < 50.0;
        const bool lateMet = late < 50.0;
        row(what + ": longest poll tick", ms(poll), "< 50 ms", pollMet);
        row(what + ": event-loop latency", ms(late), "< 50 ms", lateMet);
        allMet = allMet && pollMet && lateMet;
        // Only a run phase can be stopped with nothing on its way; records inside garbage
        // without line breaks cannot be found, by design.
        if (phase.kind == "run") {
            const bool equal = sent == logged;
            row(what + ": records sent / logged",
                std::to_string(sent) + " / " + std::to_string(logged), "equal", equal);
            allMet = allMet && equal;
        }
    }
    const long lastRss = residentKb();
    std::printf("resident memory: start %ld kB, at three quarters of the time %ld kB, end %ld kB\n",
                firstRss, rssLate, lastRss);
    if (memoryVerdict && rssLate > 0) {
        // Levelled off: the last quarter grew it by at most 5 %. (The serial pane fills
        // up to its 1,000,000 characters first: at 2880 characters a second that takes
        // about six minutes.)
        const double growth =
            100.0 * static_cast<double>(lastRss - rssLate) / static_cast<double>(rssLate);
        char value[64];
        std::snprintf(value, sizeof value, "%+.1f %% (%ld -> %ld kB)", growth, rssLate, lastRss);
        row((label.empty() ? "" : label + ", ") + "resident memory over the last quarter", value,
            "<= +5 %", growth <= 5.0);
        allMet = allMet && growth <= 5.0;
    }
    if (window.dialogs.shown() > 0) {
        std::printf("message boxes shown: %d\n", window.dialogs.shown());
    }
    window.close();
    return allMet ? 0 : 1;
}
