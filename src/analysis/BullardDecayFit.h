#pragma once

#include "analysis/DecayCurve.h"
#include "analysis/FitOutcome.h"
#include "analysis/Samples.h"

#include <optional>

namespace quorvane::analysis {

// Bullard's method for the frictional decay of a probe of finite radius: for a given κ and a
// delay δ of the frictional heating after t_p, T is a straight line in F(α, κ(t - t_p - δ)/a²)
// whose intercept is T_eq. The delay is the one of smallest misfit within its range.
class BullardDecayFit {
public:
    struct Delays {
        double lowestS = -60.0;
        double highestS = 120.0;
        double stepS = 1.0; // the scan's step before the refinement
        // A live update searches only near the last record's delay.
        std::optional<double> near;
    };

    BullardDecayFit(std::shared_ptr<const CylinderResponse> response, double radiusM,
                    double penetrationS, double kappa, Delays delays)
        : m_response(std::move(response)), m_radiusM(radiusM), m_penetrationS(penetrationS),
          m_kappa(kappa), m_delays(delays) {}

    FitOutcome<DecayCurve> fit(const Samples& samples) const;

    // True when the best delay lies at an end of its range: the model does not explain the
    // decay's start, or the range was too narrow.
    static bool atRangeEdge(const DecayCurve& curve, const Delays& delays, double highestS);

private:
    std::shared_ptr<const CylinderResponse> m_response;
    double m_radiusM;
    double m_penetrationS;
    double m_kappa;
    Delays m_delays;
};

} // namespace quorvane::analysis
