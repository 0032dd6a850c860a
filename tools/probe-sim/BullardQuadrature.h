#pragma once

#include <vector>

namespace quorvane::probesim {

// Bullard's function for a perfectly conducting cylinder heated at one instant,
//   F(α, τ) = (4α/π²) ∫₀^∞ exp(−τu²) / (u·D(u)) du,
//   D(u) = (u·J₀(u) − α·J₁(u))² + (u·Y₀(u) − α·Y₁(u))²,
// and the rise of a constant heating, H(τ) = 2α ∫₀^τ F(α, τ') dτ' (in units of q/(4πk)), by
// quadrature over u. The quadrature runs in ln u, where exp(−τu²) stays bounded in a strip of
// the complex plane for every τ, so one fixed rule serves all τ: D is evaluated once per α and
// F or H is then a sum of exponentials. Below the rule (u → 0, D → (2α/(πu))²) and above it
// (D → (2u/π)(1 + d₂/u²)) the integrals are done in closed form.
class BullardQuadrature {
public:
    // F, its rate and H at one τ, from one pass over the nodes.
    struct Values {
        double f = 0.0;
        double rate = 0.0; // dF/dτ
        double heating = 0.0;
    };

    // α = 2·(ρc)_sediment/(ρc)_probe, more than zero (a line source is not a cylinder).
    explicit BullardQuadrature(double alpha);

    double alpha() const { return m_alpha; }

    // F(α, τ): 1 at τ = 0, → 1/(2ατ) for large τ; 0 before the heating (τ < 0).
    double f(double tau) const;
    // H(τ) = 2α ∫₀^τ F dτ': 2ατ early, ln τ + const late; 0 for τ ≤ 0.
    double heating(double tau) const;
    Values values(double tau) const;

    // The denominator D(u) of the integrand, from the Bessel functions below u = 20 and from
    // the Hankel functions' asymptotic series above.
    static double denominator(double alpha, double u);

private:
    double m_alpha;
    double m_d2; // D ≈ (2u/π)(1 + d₂/u²) above the rule
    // Nodes in ascending u: u², the weight W of exp(−τu²) in F, W/u² and the sums of W/u²
    // from each node on (what H takes from nodes whose exponential is gone).
    std::vector<double> m_u2;
    std::vector<double> m_weight;
    std::vector<double> m_weightByU2;
    std::vector<double> m_restByU2;
};

} // namespace quorvane::probesim
