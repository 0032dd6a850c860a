#pragma once

#include "FaultInjector.h"
#include "ReadingEncoder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::probesim {

// Command-line settings of the simulator.
struct SimOptions {
    std::string serial = "0417";
    std::string firmware = "2.31";
    double ambientC = 4.0;
    double noiseK = 0.003;
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

    bool help = false;

    // Parses the arguments after the program name. On failure returns nullopt and says why.
    static std::optional<SimOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);
    static std::string helpText();
};

} // namespace quorvane::probesim
