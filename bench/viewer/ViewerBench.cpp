// The viewer's figures on a generated RawHex file of N records at 1 s (heater on for a
// tenth of it), in the real window on the offscreen platform, as `quorvane-view FILE` builds
// it (with the reduction panel):
//   open: from openFile to the whole file read, reduced and drawn;
//   append: one record added to the series and the plot redrawn, N per series in view;
//   redraw: a full redraw with all N per series in view;
//   follow: a line appended to the file until it is drawn (the file watcher's way);
//   memory: resident set size with the N records in view.
//   bench_viewer [--records N] [--appends K]
#include "datafile/DataFileParser.h"
#include "logging/SystemClock.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/ReductionController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quorvane;

namespace {

using Steady = std::chrono::steady_clock;

double msSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string stampOf(long long seconds) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%s-%04d %02d:%02d:%02d", tm.tm_mday, months[tm.tm_mon],
                  tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

// Record i: slowly varying readings, the heater on in the middle tenth.
std::string line(long long start, long long i, long long n) {
    const bool on = i >= n / 2 && i < n / 2 + n / 10;
    char payload[64];
    std::snprintf(payload, sizeof payload, " %04llX 6000 2000 %04X %04X %04X %04X %04X", i & 0xffff,
                  0x5000 + static_cast<int>(i % 97), 0x3000 + static_cast<int>(i % 53),
                  0x2100 + static_cast<int>(i % 31), 0x5800 + static_cast<int>(i % 17),
                  0x2400 + static_cast<int>(i % 11));
    return stampOf(start + i) + " " + payload + " " + (on ? "120" : "0") + "\r\n";
}

void writeFile(const std::string& path, long long start, long long n) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "# Instrument: 0417\r\n# Firmware: Ver 2.31\r\n# Delay: 60\r\n# HeatDuration: 600\r\n"
           "# PowerLevel: 120\r\n# HeaterEnabled: Yes\r\n# DataType: RawHex\r\n"
           "# PowerLevel: 120\r\n# LogInterval: 1\r\n# Logfile: "
        << path << "\r\n# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr\r\n";
    std::string block;
    for (long long i = 0; i < n; ++i) {
        block += line(start, i, n);
        if (block.size() > (1 << 20)) {
            out << block;
            block.clear();
        }
    }
    out << block;
}

long residentKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == field) {
            status >> value;
            return value;
        }
    }
    return -1;
}

void row(const std::string& figure, const std::string& measured, const std::string& target,
         bool met) {
    std::printf("| %s | %s | %s | %s |\n", figure.c_str(), measured.c_str(), target.c_str(),
                met ? "MET" : "MISSED");
}

std::string ms(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", value);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    long long n = 86400;
    int appends = 50;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--records") == 0) {
            n = std::atoll(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--appends") == 0) {
            appends = std::atoi(argv[i + 1]);
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The application takes LC_NUMERIC from the environment; the report's figures do not.
    std::setlocale(LC_NUMERIC, "C");
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("quorvane-bench-viewer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "day.log").string();
    const long long start = 1796601600; // 07-Dec-2026 00:00:00 UTC
    writeFile(file, start, n);
    const std::string count = std::to_string(n);

    SystemClock clock;
    ViewerWindow window(clock);
    // Profiles are looked up in a folder of the bench's own: none there, the default is used.
    ReductionAttachment reduction(window, QString::fromStdString((dir / "config").string()));
    // The size the attachment gives the window on a desktop screen (the offscreen one is small).
    window.resize(1500, 1000);
    window.show();
    QApplication::processEvents();
    QCustomPlot& plot = window.plot().customPlot();
    ReductionController& controller = reduction.controller();
    const auto settle = [&] {
        while (window.loading() || controller.pending()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        QApplication::processEvents();
    };

    // Open: read through the event loop as in use, reduced once at the end, then the first
    // full drawing.
    const auto opened = Steady::now();
    window.openFile(QString::fromStdString(file));
    settle();
    plot.replot(QCustomPlot::rpImmediateRefresh);
    const double openMs = msSince(opened);
    const bool all = window.series().recordCount() == n && controller.results().records == n;
    row("open a file of " + count + " records" + (all ? "" : " (records missing)"), ms(openMs),
        n > 100000 ? "< 5000 ms" : "< 1000 ms", all && openMs < (n > 100000 ? 5000 : 1000));

    const long rss = residentKiB("VmRSS:");
    row("resident memory with " + count + " records in view", std::to_string(rss / 1024) + " MB",
        "< 150 MB", rss > 0 && rss < 150 * 1024);
    std::printf("peak resident memory while opening: %ld MB\n", residentKiB("VmHWM:") / 1024);
    std::printf("window %dx%d, plot %dx%d\n", window.width(), window.height(), plot.width(),
                plot.height());

    std::vector<double> redraws;
    for (int i = 0; i < 10; ++i) {
        const auto t = Steady::now();
        plot.replot(QCustomPlot::rpImmediateRefresh);
        redraws.push_back(msSince(t));
    }
    row("full redraw, " + count + " records per series in view (median of 10)", ms(median(redraws)),
        "< 100 ms", median(redraws) < 100);

    // One record appended to the series and redrawn, all in view.
    window.plot().setFollow(true);
    std::vector<double> appendTimes;
    DataFileParser parser;
    for (int i = 0; i < appends; ++i) {
        parser.feed(line(start, n + i, n));
        const std::vector<LogRecord> records = parser.takeRecords();
        const auto t = Steady::now();
        window.series().append(records, window.headers());
        window.plot().dataChanged();
        plot.replot(QCustomPlot::rpImmediateRefresh);
        appendTimes.push_back(msSince(t));
    }
    // The target is for a day of records; longer files print the figure only.
    const std::string appendFigure = "one record appended and redrawn, " + count +
                                     " per series in view (median of " + std::to_string(appends) +
                                     ")";
    if (n <= 86400) {
        row(appendFigure, ms(median(appendTimes)), "< 16 ms", median(appendTimes) < 16);
    } else {
        std::printf("%s: %s\n", appendFigure.c_str(), ms(median(appendTimes)).c_str());
    }

    // Following: a line written to the file until the plot has drawn it.
    window.openFile(QString::fromStdString(file));
    settle();
    std::vector<double> latencies;
    for (int i = 0; i < 20; ++i) {
        const qint64 before = window.series().recordCount();
        bool drawn = false;
        const QMetaObject::Connection c = QObject::connect(&plot, &QCustomPlot::afterReplot, [&] {
            drawn = window.series().recordCount() > before;
        });
        const auto t = Steady::now();
        std::ofstream(file, std::ios::binary | std::ios::app) << line(start, n + appends + i, n);
        while (!drawn && msSince(t) < 3000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        latencies.push_back(drawn ? msSince(t) : 3000);
        QObject::disconnect(c);
        const auto pause = Steady::now();
        while (msSince(pause) < 50) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }
    const double worst = *std::max_element(latencies.begin(), latencies.end());
    row("record written to the file until drawn, " + count + " in view (median, worst of 20)",
        ms(median(latencies)) + ", " + ms(worst), "< 500 ms", worst < 500);

    std::filesystem::remove_all(dir);
    return 0;
}
