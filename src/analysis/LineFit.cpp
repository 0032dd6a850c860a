#include "analysis/LineFit.h"

#include <cmath>

namespace quorvane::analysis {

std::optional<LineFit> LineFit::fit(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = x.size();
    if (n < 3 || y.size() != n) {
        return std::nullopt;
    }
    // Two passes about the means keep the sums well conditioned for x near 1e9 (UTC seconds).
    double meanX = 0.0;
    double meanY = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        meanX += x[i];
        meanY += y[i];
    }
    meanX /= static_cast<double>(n);
    meanY /= static_cast<double>(n);
    double sxx = 0.0;
    double sxy = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - meanX;
        sxx += dx * dx;
        sxy += dx * (y[i] - meanY);
    }
    if (!(sxx > 0.0) || !std::isfinite(sxx) || !std::isfinite(sxy)) {
        return std::nullopt;
    }
    LineFit f;
    f.points = n;
    f.slope = sxy / sxx;
    f.intercept = meanY - f.slope * meanX;
    double sse = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double r = y[i] - (f.intercept + f.slope * x[i]);
        sse += r * r;
    }
    f.rms = std::sqrt(sse / static_cast<double>(n));
    const double variance = sse / static_cast<double>(n - 2);
    f.slopeErr = std::sqrt(variance / sxx);
    f.interceptErr = std::sqrt(variance * (1.0 / static_cast<double>(n) + meanX * meanX / sxx));
    return f;
}

} // namespace quorvane::analysis
