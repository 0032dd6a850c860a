#pragma once

#include "analysis/ConductivityIteration.h"
#include "analysis/LineSource.h"
#include "analysis/Samples.h"

namespace quorvane::analysis {

// The cooling fit after switch-off, the heater's start and stop superposed:
// ΔT = q/(4πk) · [E1(a²/(4κ(t - t_on))) - E1(a²/(4κ(t - t_off)))] + C.
class CoolingFit {
public:
    CoolingFit(LineSource source, double onS, double offS)
        : m_source(source), m_onS(onS), m_offS(offS) {}

    // `rise`: ΔT after the frictional decay was taken off; records at or before t_off are left out.
    FitOutcome<ConductivityEstimate> fit(const Samples& rise, double kStart) const;

private:
    LineSource m_source;
    double m_onS;
    double m_offS;
};

} // namespace quorvane::analysis
