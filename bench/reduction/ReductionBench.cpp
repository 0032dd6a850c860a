// Times the reduction of a 24-hour station of 86,400 records (alone, and as --analyze of a
// file on disk: read, reduce, print) and the live update after each record of a 2-hour run.
#include "SyntheticStation.h"
#include "analysis/Reduction.h"
#include "analysis/batch/AnalyzeCommand.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <vector>

using namespace quorvane::analysis;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this thread: on a shared machine the wall clock also counts the time slices
// (4 ms each here) given to other processes in between.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A real probe: a tube of 4.76 mm, 1 s records, with either a 600 s heating or a 20 s pulse.
test::SyntheticStation station(int records, bool pulse) {
    test::SyntheticStation s;
    s.records = records;
    s.noiseK = 0.001;
    s.radiusM = 0.00476;
    s.alpha = 2.0;
    s.frictionKs = {200.0, 250.0, 300.0, 250.0, 200.0};
    if (pulse) {
        s.heatRecords = 20;
    }
    return s;
}

ProbeProfile profile() {
    ProbeProfile p;
    p.serial = QStringLiteral("0417");
    p.radiusM = 0.00476;
    p.alpha = 2.0;
    return p;
}

QByteArray logFile(const StationRecords& r) {
    QByteArray text = "# Instrument: 0417\r\n# DataType: Temperature\r\n# LogInterval: 1\r\n"
                      "# Date        Time     TTop    T2     T3     T4    TBot Htr\r\n";
    for (std::size_t i = 0; i < r.size(); ++i) {
        const QDateTime when =
            QDateTime::fromSecsSinceEpoch(static_cast<qint64>(r.timeS()[i]), Qt::UTC);
        text += QLocale::c().toString(when, "dd-MMM-yyyy hh:mm:ss").toLatin1() + " ";
        char values[96];
        std::snprintf(values, sizeof values, " %.3f %.3f %.3f %.3f %.3f %d\r\n",
                      r.temperatureC(0)[i], r.temperatureC(1)[i], r.temperatureC(2)[i],
                      r.temperatureC(3)[i], r.temperatureC(4)[i], r.heater()[i]);
        text += values;
    }
    return text;
}

const char* verdict(bool met) {
    return met ? "MET" : "MISSED";
}

// A 2-hour run at 1 s, brought up to date after every record; the slowest CPU time.
double liveRun(bool pulse) {
    const StationRecords run = station(7200, pulse).make();
    Reduction live(profile());
    std::vector<double> perRecord;
    std::vector<double> cpuPerRecord;
    perRecord.reserve(run.size());
    cpuPerRecord.reserve(run.size());
    for (std::size_t i = 0; i < run.size(); ++i) {
        const std::array<double, 5> t{run.temperatureC(0)[i], run.temperatureC(1)[i],
                                      run.temperatureC(2)[i], run.temperatureC(3)[i],
                                      run.temperatureC(4)[i]};
        const double cpuStart = cpuMs();
        const auto start = Clock::now();
        live.append(run.timeS()[i], t, run.heater()[i]);
        live.results();
        perRecord.push_back(msSince(start));
        cpuPerRecord.push_back(cpuMs() - cpuStart);
    }
    auto percentile = [](std::vector<double> v, double p) {
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1,
                          static_cast<std::size_t>(p * static_cast<double>(v.size())))];
    };
    const double cpuSlowest = *std::max_element(cpuPerRecord.begin(), cpuPerRecord.end());
    const auto at = static_cast<long>(std::max_element(cpuPerRecord.begin(), cpuPerRecord.end()) -
                                      cpuPerRecord.begin());
    std::printf("live update, 7,200 records, %s: CPU time median %.3f ms, 99th percentile "
                "%.3f ms, slowest %.3f ms (record %ld); wall clock median %.3f ms, 99th "
                "percentile %.3f ms, slowest %.3f ms\n",
                pulse ? "20 s pulse" : "600 s heating", percentile(cpuPerRecord, 0.5),
                percentile(cpuPerRecord, 0.99), cpuSlowest, at + 1, percentile(perRecord, 0.5),
                percentile(perRecord, 0.99), percentile(perRecord, 1.0));
    return cpuSlowest;
}

} // namespace

int main() {
    bool sane = true;
    for (const bool pulse : {false, true}) {
        const char* what = pulse ? "20 s pulse" : "600 s heating";
        // A whole day at 1 s, reduced at once (median of 5).
        const StationRecords day = station(86400, pulse).make();
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            Reduction reduction(profile());
            StationRecords copy = day;
            const auto start = Clock::now();
            reduction.setRecords(std::move(copy));
            const ReductionResults r = reduction.results();
            times.push_back(msSince(start));
            sane = sane && r.heatFlowMWPerM2.has_value();
        }
        std::sort(times.begin(), times.end());
        std::printf("whole reduction of 86,400 records, %s: median %.1f ms, slowest %.1f ms%s\n",
                    what, times[2], times[4], sane ? "" : " (NO HEAT FLOW)");
        std::printf("| whole reduction of 86,400 records, %s (median of 5) | %.1f ms | < 1000 ms "
                    "| %s |\n",
                    what, times[2], verdict(sane && times[2] < 1000.0));

        // The same day as a file: --analyze reads, reduces and prints it.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("day.log"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(logFile(day)) < 0) {
            std::fprintf(stderr, "bench_reduction: cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();
        times.clear();
        for (int i = 0; i < 3; ++i) {
            std::ostringstream out;
            std::ostringstream err;
            const auto start = Clock::now();
            const int status = AnalyzeCommand().run({QStringLiteral("--analyze"), path}, out, err);
            times.push_back(msSince(start));
            sane = sane && status == 0;
        }
        std::sort(times.begin(), times.end());
        std::printf("| --analyze of a 24-hour file, %s (read, reduce, print; median of 3) | "
                    "%.1f ms | < 1000 ms | %s |\n",
                    what, times[1], verdict(sane && times[1] < 1000.0));

        const double slowest = liveRun(pulse);
        std::printf("| live update per record, 2-hour run at 1 s, %s (slowest, CPU time) | "
                    "%.2f ms | < 5 ms | %s |\n",
                    what, slowest, verdict(slowest < 5.0));
    }
    return 0;
}
