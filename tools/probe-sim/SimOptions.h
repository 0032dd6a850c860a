#pragma once

#include "FaultInjector.h"
#include "FileSchedule.h"
#include "ForwardModel.h"
#include "ReadingEncoder.h"

#include <chrono>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::probesim {

// Command-line settings of the simulator.
struct SimOptions {
    static constexpr int kMaxRecords = 10000000;

    std::string serial = "0417";
    std::string firmware = "2.31";
    double noiseK = 0.003; // standard deviation; none in file mode unless asked
    std::optional<std::uint64_t> seed;
    long baud = 0; // 0: unpaced
    std::string linkPath;
    std::string logPath;

    std::uint16_t ref20k = ReadingEncoder::kDefaultRef20k;
    std::uint16_t ref100k = ReadingEncoder::kDefaultRef100k;

    FaultConfig faults;
    int dropEvery = 0;
    int hangupAfter = 0;
    bool restart = false;
    int restartDelayMs = 1000;

    double floodRate = 0.0; // characters per second; 0: no flood
    bool floodGarbage = false;

    // The forward model; its penetrations are set for the mode by liveModel/fileModel.
    ModelParameters model;
    // Seconds after the start (live: one at most) or the first records in the sediment (file);
    // empty: in place.
    std::vector<double> penetrationsS{60.0};
    // File mode: the first records back in the water.
    std::vector<double> pullOutsS;

    // File mode: a whole data log file written at once.
    std::string writeFilePath;
    std::string truthPath;
    bool rawHexLayout = false;
    std::chrono::sys_seconds start{
        std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8} +
        std::chrono::hours{13}};
    int intervalS = 1;
    int durationS = 1800;
    std::vector<std::optional<int>> heatDelaysS{480}; // one per penetration; nullopt: none
    int heatTimeS = 600;
    int heatLevel = 120;

    bool help = false;

    bool fileMode() const { return !writeFilePath.empty(); }
    // Penetration at penetrationsS after the simulator's start.
    ModelParameters liveModel() const;
    // Penetrations and pull-outs half an interval before their records.
    ModelParameters fileModel() const;
    FileSchedule fileSchedule() const;
    // Each heater on half an interval after the record at its delay, for heatTimeS.
    std::vector<HeaterSpan> fileHeaters() const { return fileSchedule().heaters(); }

    // Parses the arguments after the program name. On failure returns nullopt and says why.
    static std::optional<SimOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);
    static std::string helpText();
};

} // namespace quorvane::probesim
