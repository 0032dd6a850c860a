#pragma once

#include "FaultInjector.h"
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

    // The forward model; its penetration time is set for the mode by liveModel/fileModel.
    ModelParameters model;
    // Seconds after the start (live) or after the first record (file); nullopt: in place.
    std::optional<double> penetrationS = 60.0;

    // File mode: a whole data log file written at once.
    std::string writeFilePath;
    std::string truthPath;
    bool rawHexLayout = false;
    std::chrono::sys_seconds start{
        std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8} +
        std::chrono::hours{13}};
    int intervalS = 1;
    int durationS = 1800;
    int heatDelayS = 480;
    int heatTimeS = 600;
    int heatLevel = 120;

    bool help = false;

    bool fileMode() const { return !writeFilePath.empty(); }
    // Penetration at penetrationS after the simulator's start.
    ModelParameters liveModel() const;
    // Penetration half an interval before the first record in the sediment.
    ModelParameters fileModel() const;
    // Heater on half an interval after the record at heatDelayS, for heatTimeS.
    std::optional<HeaterSpan> fileHeater() const;

    // Parses the arguments after the program name. On failure returns nullopt and says why.
    static std::optional<SimOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);
    static std::string helpText();
};

} // namespace quorvane::probesim
