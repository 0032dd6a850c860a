#pragma once

#include <vector>

namespace quorvane::analysis {

// Bullard's response of a perfectly conducting cylinder (the probe's tube, radius a) in an
// infinite medium, in dimensionless time τ = κt/a²:
//   F(α, τ): the temperature after an instantaneous heating, as a share of the first rise;
//   H(α, τ) = 2α ∫₀^τ F dτ': the rise under a constant heating, in units of q/(4πk).
// α is twice the ratio of the heat capacities per volume, sediment over probe. Both are
// computed once per α by quadrature and then read from a table over ln τ; beyond the table
// the late-time forms F → 1/(2ατ) and H → ln τ + const take over.
class CylinderResponse {
public:
    explicit CylinderResponse(double alpha);

    double alpha() const { return m_alpha; }
    double pulse(double tau) const;   // F(α, τ)
    double heating(double tau) const; // H(α, τ)
    // The same from ln τ, for fits that keep ln(t − t₀) while only κ changes.
    double pulseAtLn(double lnTau) const;
    double heatingAtLn(double lnTau) const;

    // The table's span; outside it the limits are used.
    static constexpr double kLowestTau = 1e-5;
    static constexpr double kHighestTau = 1e6;

    // The integrals themselves, without the table (slow: tests and the table's own values).
    static double pulseByQuadrature(double alpha, double tau);
    static double heatingByQuadrature(double alpha, double tau);

private:
    // Per cell of the grid, the cubic through its four neighbours: c0 + t(c1 + t(c2 + t·c3)).
    struct Cell {
        double c0, c1, c2, c3;
    };
    static std::vector<Cell> cells(const std::vector<double>& values);
    double fromTable(const std::vector<Cell>& table, double x) const;

    double m_alpha;
    std::vector<Cell> m_pulse;
    std::vector<Cell> m_heating;
    double m_pulseEnd = 0.0; // F and H at the table's ends, for the limits beyond
    double m_pulseStart = 0.0;
    double m_heatingEnd = 0.0;
    double m_heatingStart = 0.0;
};

} // namespace quorvane::analysis
