#pragma once

#include <vector>

namespace quorvane::analysis {

// One thermistor's records inside a fit window: times (UTC seconds) and values.
struct Samples {
    std::vector<double> timeS;
    std::vector<double> value;

    void add(double t, double v) {
        timeS.push_back(t);
        value.push_back(v);
    }
    std::size_t size() const { return timeS.size(); }
};

} // namespace quorvane::analysis
