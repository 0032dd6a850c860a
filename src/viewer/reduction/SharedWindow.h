#pragma once

#include "analysis/ReductionResults.h"

#include <optional>

namespace quorvane {

// The window the thermistors share, from the first that has one (a member pointer of
// SensorResult: decayWindow, kWindow, coolingWindow).
template <typename Member>
std::optional<analysis::FitWindow> sharedWindow(const analysis::ReductionResults& r, Member m) {
    for (const analysis::SensorResult& s : r.sensors) {
        if (s.*m) {
            return s.*m;
        }
    }
    return std::nullopt;
}

} // namespace quorvane
