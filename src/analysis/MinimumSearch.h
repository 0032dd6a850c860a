#pragma once

#include <functional>

namespace quorvane::analysis {

struct Minimum {
    double x = 0.0;
    double value = 0.0;
};

// Minima of a function of one variable: a scan over a grid, refined by Brent's method
// between the neighbours of the best grid point.
class MinimumSearch {
public:
    using Function = std::function<double(double)>;

    // Brent's method on [low, high] to within `tolerance` in x.
    static Minimum brent(const Function& f, double low, double high, double tolerance);
    // `points` evenly spaced from low to high (on a log scale when `logarithmic`), then Brent
    // around the best of them.
    static Minimum scanThenRefine(const Function& f, double low, double high, int points,
                                  bool logarithmic, double tolerance);
};

} // namespace quorvane::analysis
