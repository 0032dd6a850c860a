#pragma once

#include "analysis/FitOutcome.h"

#include <functional>
#include <vector>

namespace quorvane::analysis {

struct ConductivityEstimate {
    double kWPerMK = 0.0;
    double kErrWPerMK = 0.0;
    double kappaM2PerS = 0.0;
    double offsetK = 0.0; // the fit's constant
    double rmsC = 0.0;
    int records = 0;
    int iterations = 0;
};

// Fits a heater rise as ΔT = q/(4πk) · F_κ(t) + C, straight in F, with κ taken from k:
// k -> κ -> fit -> k until k changes by less than 0.1 %.
class ConductivityIteration {
public:
    // Fills `basis` with F_κ at each record for the diffusivity given.
    using Basis = std::function<void(double kappa, std::vector<double>& basis)>;

    static constexpr double kTolerance = 1e-3;
    static constexpr int kMaxIterations = 50;

    static FitOutcome<ConductivityEstimate> run(double qWPerM, const std::vector<double>& riseK,
                                                const Basis& basis, double kStart);
};

} // namespace quorvane::analysis
