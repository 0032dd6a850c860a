#pragma once

namespace quorvane::analysis {

// A heater along the probe's axis, q watts per metre, seen by a thermistor at radius a.
class LineSource {
public:
    LineSource(double qWPerM, double radiusM) : m_q(qWPerM), m_radius(radiusM) {}

    // The exponential integral E1(x), x > 0.
    static double e1(double x);
    // Diffusivity from conductivity for marine sediments (Hyndman et al. 1979), m²/s.
    static double diffusivity(double kWPerMK);

    double qWPerM() const { return m_q; }
    double radiusM() const { return m_radius; }
    // E1(a² / (4 κ Δt)) for a time Δt after a switch of the heater.
    double e1After(double kappa, double dtS) const;
    // The rise ΔT(Δt) after switch-on for conductivity k, with κ from k.
    double heatingRise(double kWPerMK, double dtS) const;

private:
    double m_q;
    double m_radius;
};

} // namespace quorvane::analysis
