#pragma once

#include "analysis/FitOutcome.h"
#include "analysis/Samples.h"

namespace quorvane::analysis {

// Bullard's frictional decay: T(t) = T_eq + A / (t - t_p), a straight line in 1/(t - t_p)
// whose intercept is the equilibrium temperature.
struct DecayCurve {
    double penetrationS = 0.0;
    double tEqC = 0.0;
    double tEqErrC = 0.0;
    double aKs = 0.0;
    double rmsC = 0.0;
    int records = 0;

    // The decay carried forward to time t (into the heating).
    double at(double timeS) const { return tEqC + aKs / (timeS - penetrationS); }
};

class DecayFit {
public:
    explicit DecayFit(double penetrationS) : m_penetrationS(penetrationS) {}

    // Fits the records after the penetration; needs three, with some change.
    FitOutcome<DecayCurve> fit(const Samples& samples) const;

private:
    double m_penetrationS;
};

} // namespace quorvane::analysis
