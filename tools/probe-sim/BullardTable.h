#pragma once

#include "BullardQuadrature.h"

#include <vector>

namespace quorvane::probesim {

// F(α, τ) and H(τ) of one α tabulated on a fine grid of ln τ with their exact slopes, for
// the thousands of values a data file takes: cubic Hermite interpolation between the grid
// points is within 1e-9 of the quadrature. Outside the grid it asks the quadrature.
class BullardTable {
public:
    static constexpr double kLowestTau = 1e-6;
    static constexpr double kHighestTau = 1e10;
    static constexpr int kStepsPerUnit = 32; // of ln τ

    explicit BullardTable(double alpha);

    const BullardQuadrature& quadrature() const { return m_quadrature; }
    double alpha() const { return m_quadrature.alpha(); }

    double f(double tau) const;
    double heating(double tau) const;

private:
    struct Point {
        double f;
        double fSlope; // dF/d ln τ
        double heating;
        double heatingSlope;
    };

    // Where τ falls in the grid, or false when outside it.
    bool locate(double tau, std::size_t& index, double& fraction) const;

    BullardQuadrature m_quadrature;
    double m_lowestZ;
    std::vector<Point> m_points;
};

} // namespace quorvane::probesim
