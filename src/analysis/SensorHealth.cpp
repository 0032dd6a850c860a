#include "analysis/SensorHealth.h"

#include <cmath>

namespace quorvane::analysis {

bool SensorHealth::usable(double valueC) {
    return std::isfinite(valueC) && valueC >= kLowestC && valueC <= kHighestC;
}

SensorHealth::State SensorHealth::judge(const std::vector<double>& series) {
    std::size_t good = 0;
    bool first = true;
    double low = 0.0;
    double high = 0.0;
    for (double v : series) {
        if (!usable(v)) {
            continue;
        }
        ++good;
        if (first) {
            low = high = v;
            first = false;
        } else if (v < low) {
            low = v;
        } else if (v > high) {
            high = v;
        }
    }
    if (good == 0 || 2 * good < series.size()) {
        return State::Missing;
    }
    if (series.size() >= kRecordsToJudge && high == low) {
        return State::Stuck;
    }
    return State::Working;
}

bool SensorHealth::constant(const Samples& samples) {
    if (samples.size() < kRecordsToJudge) {
        return false;
    }
    for (double v : samples.value) {
        if (v != samples.value.front()) {
            return false;
        }
    }
    return true;
}

} // namespace quorvane::analysis
