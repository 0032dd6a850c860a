#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quorvane::analysis {

// Least-squares straight line y = intercept + slope·x, with the standard errors of both and
// the RMS misfit. Needs at least three points with some spread in x.
struct LineFit {
    double slope = 0.0;
    double intercept = 0.0;
    double slopeErr = 0.0;
    double interceptErr = 0.0;
    double rms = 0.0;
    std::size_t points = 0;

    static std::optional<LineFit> fit(const std::vector<double>& x, const std::vector<double>& y);
};

} // namespace quorvane::analysis
