#pragma once

#include "analysis/CylinderResponse.h"

#include <memory>
#include <optional>

namespace quorvane::analysis {

// The heater's warming of a thermistor, switched on at t_on and off at t_off (if it was), at
// q W/m: ΔT(t) = q/(4πk) · [H(τ_on) - H(τ_off)] + C, with τ = κ(t - t_switch - s)/a², s a small
// shift of both switches (the heater column places them only to within a record), and C a
// constant where the fit allows one. H is the cylinder's (CylinderResponse) or, for a line
// (no response), E1(1/(4τ)).
struct HeaterCurve {
    double qWPerM = 0.0;
    double onS = 0.0;
    std::optional<double> offS;
    double radiusM = 0.0;
    std::shared_ptr<const CylinderResponse> response;

    double kWPerMK = 1.0;
    double kappa = 0.0;
    double shiftS = 0.0;
    double constantK = 0.0;

    // H for a heating that began `sinceS` ago, for diffusivity κ.
    double unitHeating(double kappa, double sinceS) const;
    // ΔT at t for conductivity k, diffusivity κ and shift s, without the constant.
    double riseFor(double k, double kappa, double shiftS, double timeS) const;
    // ΔT at t of the fitted curve.
    double rise(double timeS) const { return riseFor(kWPerMK, kappa, shiftS, timeS) + constantK; }
};

} // namespace quorvane::analysis
