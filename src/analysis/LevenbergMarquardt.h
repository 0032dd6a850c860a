#pragma once

#include <functional>
#include <vector>

namespace quorvane::analysis {

// Least squares of a few parameters (up to six) by Levenberg-Marquardt with a Jacobian by
// forward differences. A parameter at one of its bounds that a step would push past stays
// there for that step, which is taken in the others (a clipped step would stall).
class LevenbergMarquardt {
public:
    // Fills the residuals for the parameters; returns their sum of squares (infinity when
    // the parameters cannot be used).
    using Residuals = std::function<double(const std::vector<double>& p, std::vector<double>& r)>;

    struct Parameter {
        double start = 0.0;
        double low = 0.0;
        double high = 0.0;
        double step = 1e-6;      // for the forward differences
        double tolerance = 1e-6; // a step smaller than this in every parameter is the end
    };

    struct Result {
        std::vector<double> p;
        double sumOfSquares = 0.0;
        // σ²·(JᵀJ)⁻¹, σ² = SS / (residuals − parameters); empty when it cannot be had.
        std::vector<std::vector<double>> covariance;
    };

    static constexpr int kMaxSteps = 40;

    static Result minimise(const Residuals& residuals, std::size_t count,
                           const std::vector<Parameter>& parameters);

    // The covariance of the parameters at `p` from a Jacobian given column by column.
    static std::vector<std::vector<double>>
    covariance(const std::vector<std::vector<double>>& jacobianColumns, double sumOfSquares);

    // Solves a·x = b for a small dense system; false when it is singular.
    static bool solve(std::vector<std::vector<double>> a, std::vector<double> b,
                      std::vector<double>& x);
};

} // namespace quorvane::analysis
