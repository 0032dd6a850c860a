#pragma once

#include "analysis/FitOutcome.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvane::analysis {

struct MeanConductivity {
    double kWPerMK = 0.0;
    double errWPerMK = 0.0;
    int sensors = 0;
};

struct IntervalHeatFlow {
    double mWPerM2 = 0.0;
    double errMWPerM2 = 0.0;
};

// Heat flow from conductivities and equilibrium temperatures: the interval method (harmonic
// mean k times the gradient) and Bullard's (T_eq against cumulative thermal resistance).
class HeatFlow {
public:
    // Harmonic mean of the k given, with the fits' errors carried through.
    static FitOutcome<MeanConductivity>
    harmonicMean(const std::vector<std::optional<double>>& k,
                 const std::vector<std::optional<double>>& kErr);
    // Q = k̄·Γ, σ_Q/Q = sqrt((σ_k̄/k̄)² + (σ_Γ/Γ)²).
    static IntervalHeatFlow interval(const MeanConductivity& k, double gradientKPerM,
                                     double gradientErrKPerM);
    // Vertical depths top first; uses the thermistors with both a T_eq and a k (at least 3).
    // The slope of T_eq against the cumulative thermal resistance, with its standard error.
    static FitOutcome<IntervalHeatFlow> bullard(const std::vector<double>& verticalDepthsM,
                                                const std::vector<std::optional<double>>& tEqC,
                                                const std::vector<std::optional<double>>& k);
    // "excellent" under 5 %, "good" to 15 %, "acceptable" to 25 %, else "poor".
    static QString quality(double relativeError);
};

} // namespace quorvane::analysis
