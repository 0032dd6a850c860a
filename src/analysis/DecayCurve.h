#pragma once

#include "analysis/CylinderResponse.h"

#include <memory>

namespace quorvane::analysis {

// A thermistor's frictional decay as fitted, carried forward into the heating:
//   Bullard's cylinder: T(t) = T_eq + B · F(α, κ(t - t_p - δ)/a²), B in K;
//   a line (alpha 0):   T(t) = T_eq + A / (t - t_p), A in K·s.
struct DecayCurve {
    enum class Method { Line, Bullard };

    Method method = Method::Line;
    double penetrationS = 0.0;
    double delayS = 0.0;
    double kappa = 0.0;
    double radiusM = 0.0;
    std::shared_ptr<const CylinderResponse> response;

    double tEqC = 0.0;
    double tEqErrC = 0.0;
    double amplitude = 0.0; // B (K) or A (K·s)
    double rmsC = 0.0;
    int records = 0;

    // The x of the straight line T = T_eq + amplitude · x.
    double shape(double timeS) const {
        if (method == Method::Line) {
            return 1.0 / (timeS - penetrationS);
        }
        return response->pulse(kappa * (timeS - penetrationS - delayS) / (radiusM * radiusM));
    }
    double at(double timeS) const { return tEqC + amplitude * shape(timeS); }
};

} // namespace quorvane::analysis
