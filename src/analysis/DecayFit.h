#pragma once

#include "analysis/DecayCurve.h"
#include "analysis/FitOutcome.h"
#include "analysis/Samples.h"

namespace quorvane::analysis {

// The classic late-time fit of a line source: T(t) = T_eq + A / (t - t_p), a straight line in
// 1/(t - t_p) whose intercept is the equilibrium temperature.
class DecayFit {
public:
    explicit DecayFit(double penetrationS) : m_penetrationS(penetrationS) {}

    // Fits the records after the penetration; needs three, with some change.
    FitOutcome<DecayCurve> fit(const Samples& samples) const;

private:
    double m_penetrationS;
};

} // namespace quorvane::analysis
