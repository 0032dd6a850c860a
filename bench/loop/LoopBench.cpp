// The real window offscreen with a run going (a data request every second, each answer
// logged), against the simulator in phases:
//   run       the simulator answers the data requests, nothing more
//   flood     it also sends records unasked at --rate characters a second
//   garbage   it also sends random bytes without line breaks at --rate characters a second
// Each phase has a simulator of its own on the same link, so between phases the device
// goes away and comes back. Measured: the longest serial poll tick (the handler of the
// poll timer: read, serial pane, parsing pass, data log), the event-loop latency (how late
// a 50 ms timer of our own comes), records sent and logged, and resident memory.
// --events-per-second N also logs N events a second through the window's event log, so
// that the Events pane fills as well. --exact compares, at the end, the payloads of the
// data log file with those of every record the simulators sent: each once, in order.
// --memory judges the resident memory over the last half of the time (under 5 MB of
// growth) and works out what a week at one record a second would reach. --advisory-timing
// reports the timing and memory figures without failing on them (a shared CI machine).
//   bench_loop --phase run:900 --phase garbage:900 --rate 2880 --report-every 60
#include "BenchWindow.h"
#include "LoopTimer.h"
#include "SimulatorProcess.h"
#include "TimingApplication.h"
#include "util/DecimalText.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <signal.h>
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
    std::fprintf(stderr,
                 "usage: bench_loop --phase run|flood|garbage:SECONDS ... [--rate CPS]\n"
                 "                  [--report-every SECONDS] [--label TEXT] [--memory]\n"
                 "                  [--events-per-second N] [--exact] [--advisory-timing]\n");
    return 2;
}

// The "SENT-GOOD" lines of a simulator log, counted as they are read: the resident memory
// sampled next must not hold a copy of the log.
std::size_t sentCount(const std::string& logFile) {
    std::ifstream in(logFile);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) {
        n += line.find("Z SENT-GOOD ") != std::string::npos ? 1 : 0;
    }
    return n;
}

// The payloads (characters 22-61) of the data lines of a RawHex data log file.
std::vector<std::string> loggedPayloads(const std::string& file) {
    std::vector<std::string> out;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# ", 0) != 0 && line.size() >= 61) {
            out.push_back(line.substr(21, 40));
        }
    }
    return out;
}

struct SentRecord {
    std::chrono::system_clock::time_point at; // when its last byte had left
    std::string payload;
};

// The "SENT-GOOD" lines of a simulator log with their UTC stamps.
std::vector<SentRecord> sentRecords(const std::string& logFile) {
    std::vector<SentRecord> out;
    std::ifstream in(logFile);
    for (std::string line; std::getline(in, line);) {
        const std::size_t at = line.find("Z SENT-GOOD ");
        if (at == std::string::npos) {
            continue;
        }
        std::tm tm{};
        int ms = 0;
        if (std::sscanf(line.c_str(), "%d-%d-%dT%d:%d:%d.%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                        &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &ms) != 7) {
            continue;
        }
        tm.tm_year -= 1900;
        tm.tm_mon -= 1;
        const auto when =
            std::chrono::system_clock::from_time_t(::timegm(&tm)) + std::chrono::milliseconds(ms);
        out.push_back({when, line.substr(at + 12)});
    }
    return out;
}

// Every record sent before `pausedAt`, from the first one the program logged on, logged
// once and in order, and nothing logged that was not sent. Empty when so, otherwise where
// it fails. (Records sent before the program had the port open reach nobody.)
std::string exactness(const std::vector<std::string>& logged, const std::vector<SentRecord>& sent,
                      std::chrono::system_clock::time_point pausedAt, std::size_t& checked) {
    checked = 0;
    if (logged.empty()) {
        return "nothing logged";
    }
    std::size_t k = 0;
    while (k < sent.size() && sent[k].payload != logged.front()) {
        ++k;
    }
    if (k == sent.size()) {
        return "the first logged record was never sent";
    }
    for (std::size_t i = 0; i < logged.size(); ++i) {
        if (k + i >= sent.size() || sent[k + i].payload != logged[i]) {
            return "logged record " + std::to_string(i + 1) + " \"" + logged[i] +
                   "\" is not the next one sent";
        }
    }
    checked = logged.size();
    for (std::size_t i = k + logged.size(); i < sent.size(); ++i) {
        if (sent[i].at < pausedAt) {
            return "sent record " + std::to_string(i + 1) + " \"" + sent[i].payload +
                   "\" was not logged";
        }
    }
    return {};
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
    bool exact = false;
    bool advisory = false;
    double eventsPerSecond = 0;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--memory" || name == "--exact" || name == "--advisory-timing") {
            (name == "--memory" ? memoryVerdict : name == "--exact" ? exact : advisory) = true;
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
        } else if (name == "--events-per-second") {
            eventsPerSecond = std::atof(value.c_str());
        } else {
            return usage();
        }
    }
    if (phases.empty() || rate <= 0) {
        return usage();
    }

    TimingApplication app(argc, argv);
    // The application takes LC_NUMERIC from the environment; the report's figures do not.
    std::setlocale(LC_NUMERIC, "C");
    LoopTimer loop;
    BenchWindow window("loop");
    bool allMet = true;
    long firstRss = -1;
    long rssLate = -1;
    long lastRss = -1;
    int totalSeconds = 0;
    for (const Phase& p : phases) {
        totalSeconds += p.seconds;
    }
    QElapsedTimer sinceStart;
    double worstPoll = 0;
    double worstLate = 0;
    // Records the simulators sent while the program was watched, and how the logged ones
    // differed (empty: each once, in order).
    std::size_t allSent = 0;
    std::string allDifferences;
    long recordsAtHalf = -1;
    // Events at the asked rate, a batch every 20 ms.
    QTimer eventTimer;
    eventTimer.setTimerType(Qt::PreciseTimer);
    long eventsLogged = 0;
    double eventsDue = 0;
    QObject::connect(&eventTimer, &QTimer::timeout, [&] {
        eventsDue += eventsPerSecond / 50.0;
        for (; eventsDue >= 1.0; eventsDue -= 1.0) {
            window.host().controller().eventLog().logEvent("Soak event " +
                                                           std::to_string(++eventsLogged));
        }
    });

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
            if (eventsPerSecond > 0) {
                eventTimer.start(20);
            }
        }
        const std::size_t loggedBefore = window.loggedRecords();
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
            if (rssLate < 0 && sinceStart.elapsed() >= totalSeconds * 500LL) {
                rssLate = residentKb();
                recordsAtHalf = static_cast<long>(window.loggedRecords());
                loop.skipGap();
            }
            if (reportEvery > 0 && inPhase.elapsed() >= nextReport * 1000LL) {
                nextReport += reportEvery;
                std::printf("  %6llds  %-7s sent %7zu  logged %7zu  poll tick max %7.1f ms  "
                            "loop late max %7.1f ms  RSS %ld kB\n",
                            static_cast<long long>(sinceStart.elapsed() / 1000), phase.kind.c_str(),
                            sentCount(simLog), window.loggedRecords() - loggedBefore,
                            app.longestPollTickMs(), loop.longestLateMs(), residentKb());
                std::fflush(stdout);
                loop.skipGap();
            }
        }
        // Taken before the checks below read the files into this process.
        const long rssEnd = residentKb();
        lastRss = rssEnd;
        // Answers still on their way are waited for, so that stopping the simulator loses
        // nothing that was sent. A flood does not wait: it is paused (the pty stays open,
        // a record half written stays half written) and what it had sent whole is waited for.
        const auto pausedAt = std::chrono::system_clock::now();
        if (phase.kind == "flood") {
            ::kill(simulator.pid(), SIGSTOP);
        }
        if (phase.kind != "garbage") {
            for (std::size_t last = 0, now = 1; now != last;) {
                last = now;
                BenchWindow::runFor(500);
                now = window.loggedRecords();
            }
        }
        std::vector<std::string> phaseLogged = loggedPayloads(window.dataFile());
        phaseLogged.erase(phaseLogged.begin(),
                          phaseLogged.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min(loggedBefore, phaseLogged.size())));
        const std::size_t logged = phaseLogged.size();
        const double poll = app.longestPollTickMs();
        const double late = loop.longestLateMs();
        const double gapCpu = loop.longestGapCpuMs();
        const double pollCpu = app.longestPollTickCpuMs();
        const double mostPollCpu = app.mostPollTickCpuMs();
        const double anyHandler = app.longestHandlerMs();
        const QString anyWhat = app.longestHandlerWhat();
        const std::vector<TimingApplication::SlowHandler> slow = app.slowHandlers();
        if (index + 1 == phases.size()) {
            eventTimer.stop();
            window.finishRun();
            BenchWindow::runFor(300);
        }
        if (phase.kind == "flood") {
            ::kill(simulator.pid(), SIGCONT);
        }
        simulator.stop();
        const std::vector<SentRecord> phaseSent = sentRecords(simLog);
        std::size_t sent = 0;
        for (const SentRecord& r : phaseSent) {
            sent += r.at < pausedAt ? 1 : 0;
        }
        std::size_t phaseChecked = 0;
        std::string phaseDifference;
        if (phase.kind != "garbage") {
            phaseDifference = exactness(phaseLogged, phaseSent, pausedAt, phaseChecked);
            allDifferences += phaseDifference;
            allSent += phaseChecked;
        }
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
        std::printf("  the longest poll tick took %.1f ms of processor time; the most any poll "
                    "tick took: %.1f ms\n",
                    pollCpu, mostPollCpu);
        std::printf("  handlers over %.0f ms: %zu\n", TimingApplication::kSlowMs, slow.size());
        for (std::size_t i = 0; i < slow.size() && i < 20; ++i) {
            std::printf("    at %.1f s: %.1f ms (the program ran %.1f ms), %s\n", slow[i].atSeconds,
                        slow[i].ms, slow[i].cpuMs, slow[i].what.toLatin1().constData());
        }
        const bool pollMet = poll < 50.0;
        const bool lateMet = late < 50.0;
        row(what + ": longest poll tick", ms(poll), "< 50 ms", pollMet);
        row(what + ": event-loop latency", ms(late), "< 50 ms", lateMet);
        allMet = allMet && ((pollMet && lateMet) || advisory);
        // Records inside garbage without line breaks cannot be found, by design.
        if (phase.kind != "garbage") {
            row(what + ": records sent, each logged once in order",
                std::to_string(phaseChecked) +
                    (phaseDifference.empty() ? "" : " (" + phaseDifference + ")"),
                "all", phaseDifference.empty());
            allMet = allMet && phaseDifference.empty();
        }
    }
    const std::size_t records = window.loggedRecords();
    std::printf("resident memory: start %ld kB, at half time %ld kB, end %ld kB; records logged "
                "%zu (%ld at half time); events logged by the soak %ld; pane lengths: serial "
                "%zu, events %zu, logged data %zu characters\n",
                firstRss, rssLate, lastRss, records, recordsAtHalf, eventsLogged,
                window.view().txtComsDisplay->length(), window.view().txtEventLog->length(),
                window.view().txtLoggedDataDisplay->length());
    const std::string prefix = label.empty() ? "" : label + ", ";
    if (exact) {
        row(prefix + "records sent, each logged once in order",
            std::to_string(allSent) + (allDifferences.empty() ? "" : " (" + allDifferences + ")"),
            "all", allDifferences.empty() && allSent > 0);
        allMet = allMet && allDifferences.empty() && allSent > 0;
    }
    if (memoryVerdict && rssLate > 0) {
        // Levelled off: the panes are full well before half time, and the last half grows
        // the resident memory by less than 5 MB.
        const double growthMb = static_cast<double>(lastRss - rssLate) / 1024.0;
        char value[96];
        std::snprintf(value, sizeof value, "%+.2f MB (%ld -> %ld kB)", growthMb, rssLate, lastRss);
        row(prefix + "resident memory over the last half", value, "< 5 MB", growthMb < 5.0);
        allMet = allMet && (growthMb < 5.0 || advisory);
        // A week at one record a second: what the last half grew per record, carried on
        // to 604,800 records, on top of the end figure.
        const double lastHalfRecords = static_cast<double>(records) - recordsAtHalf;
        const double kbPerRecord =
            lastHalfRecords > 0 ? std::max(0.0, (lastRss - rssLate) / lastHalfRecords) : 0.0;
        const double weekMb =
            (static_cast<double>(lastRss) +
             kbPerRecord * std::max(0.0, 604800.0 - static_cast<double>(records))) /
            1024.0;
        const bool panesFull = window.view().txtComsDisplay->length() >= 800000 &&
                               window.view().txtEventLog->length() >= 800000 &&
                               window.view().txtLoggedDataDisplay->length() >= 800000;
        if (!panesFull) {
            std::printf("one week at one record a second: not worked out, the panes were "
                        "still filling\n");
        } else {
            std::printf("one week at one record a second (604,800 records): %.1f MB resident "
                        "(%.1f MB at the end + %.4f kB a record over the %.0f records still to "
                        "come)\n",
                        weekMb, lastRss / 1024.0, kbPerRecord,
                        std::max(0.0, 604800.0 - static_cast<double>(records)));
        }
    }
    if (window.dialogs.shown() > 0) {
        std::printf("message boxes shown: %d\n", window.dialogs.shown());
    }
    window.close();
    return allMet ? 0 : 1;
}
