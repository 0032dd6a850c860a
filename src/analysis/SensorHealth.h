#pragma once

#include "analysis/Samples.h"

#include <vector>

namespace quorvane::analysis {

// Tells a thermistor that gives no usable values, or always the same one, from a working one.
class SensorHealth {
public:
    enum class State { Working, Missing, Stuck };

    // Readings outside this range are no sediment temperature: a broken or absent thermistor.
    static constexpr double kLowestC = -20.0;
    static constexpr double kHighestC = 100.0;
    // Fewer records than this say nothing about a stuck thermistor.
    static constexpr std::size_t kRecordsToJudge = 10;

    static bool usable(double valueC);
    static State judge(const std::vector<double>& seriesC);
    // True when every value of a window of at least kRecordsToJudge records is the same.
    static bool constant(const Samples& samples);
};

} // namespace quorvane::analysis
