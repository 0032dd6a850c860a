// Throughput of record decoding alone, and of a parsing pass that writes every record to
// a real data log file. Prints records per second against the targets.
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMainView.h"
#include "instrument/InputParser.h"
#include "instrument/RecordDecoder.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "logging/PosixTextFiles.h"
#include "run/RunFlags.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quorvane;
using Stopwatch = std::chrono::steady_clock;

namespace {

std::string payload(int i) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " %04X 6000 2000 %04X %04X %04X %04X %04X", i & 0xFFFF,
                  0x3000 + i % 512, 0x3100 + i % 300, 0x3200 + i % 200, 0x3300 + i % 100,
                  0x3400 + i % 50);
    return buffer;
}

double seconds(Stopwatch::time_point since) {
    return std::chrono::duration<double>(Stopwatch::now() - since).count();
}

void verdict(const char* what, double perSecond, double target) {
    std::printf("%-34s %12.0f records/s   target %9.0f   %s\n", what, perSecond, target,
                perSecond >= target ? "MET" : "MISSED");
}

} // namespace

int main() {
    constexpr int kRecords = 100000;
    std::vector<std::string> payloads;
    payloads.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        payloads.push_back(payload(i));
    }

    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    double sink = 0;
    auto start = Stopwatch::now();
    for (int round = 0; round < 5; ++round) {
        for (const std::string& p : payloads) {
            decoder.decode(p);
            sink += decoder.temperatureC[0];
        }
    }
    const double decodeRate = 5.0 * kRecords / seconds(start);

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock(timeline);
    fakes::FakeMainView ui(timeline);
    PosixTextFiles files;
    SystemTime sysTime;
    RunFlags flags;
    OutputFile output{dir.string() + "/", "bench.log", 1};
    EventLog eventLog(clock, sysTime, ui.txtEventLog, files, dialogs, dir.string() + "/events.log");
    DataLog dataLog(files, dialogs, output);
    InputParser parser(ui.view(), flags, sysTime, clock, decoder, eventLog, dataLog, dialogs);
    std::string input;
    for (const std::string& p : payloads) {
        input += ":\x03T" + p + "\r\n";
    }
    parser.append(input);
    start = Stopwatch::now();
    parser.parseInput();
    const double parseRate = kRecords / seconds(start);
    const auto fileSize = std::filesystem::file_size(dir / "bench.log");
    std::filesystem::remove_all(dir);

    std::printf("Record decoding and parsing, %d records (checksum %.1f, log %ju bytes)\n",
                kRecords, sink, static_cast<std::uintmax_t>(fileSize));
    verdict("decode alone", decodeRate, 1000000);
    verdict("parse + log to file", parseRate, 50000);
    return dialogs.messages().empty() ? 0 : 1;
}
