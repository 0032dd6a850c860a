#pragma once

#include "analysis/FitOutcome.h"

#include <optional>
#include <vector>

namespace quorvane::analysis {

struct Gradient {
    double kPerM = 0.0;
    double errKPerM = 0.0;
    double interceptC = 0.0;
    int sensors = 0;
};

// The gradient: slope of T_eq against vertical depth z·cos θ, from at least three thermistors.
class GradientFit {
public:
    explicit GradientFit(double tiltDeg) : m_tiltDeg(tiltDeg) {}

    static constexpr int kMinimumSensors = 3;

    double verticalDepth(double depthAlongProbeM) const;
    // Depths along the probe and T_eq per thermistor (empty where there is none).
    FitOutcome<Gradient> fit(const std::vector<double>& depthsM,
                             const std::vector<std::optional<double>>& tEqC) const;

private:
    double m_tiltDeg;
};

} // namespace quorvane::analysis
