#pragma once

#include "analysis/ConductivityIteration.h"
#include "analysis/LineSource.h"
#include "analysis/Samples.h"

namespace quorvane::analysis {

// The heating fit: ΔT = q/(4πk) · E1(a²/(4κ(t - t_on))) + C over the heating window.
class LineSourceFit {
public:
    LineSourceFit(LineSource source, double onS) : m_source(source), m_onS(onS) {}

    // `rise`: ΔT after the frictional decay was taken off; records at or before t_on are left out.
    FitOutcome<ConductivityEstimate> fit(const Samples& rise, double kStart) const;

private:
    LineSource m_source;
    double m_onS;
};

} // namespace quorvane::analysis
