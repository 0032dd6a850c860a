#pragma once

#include "ProbeProfile.h"

#include <array>
#include <optional>
#include <span>

namespace quorvane::probesim {

// The heater at one level from onS until offS (open while it is still on). Times are
// seconds on the model's own axis.
struct HeaterSpan {
    double onS = 0.0;
    std::optional<double> offS;
    double level = 0.0;
};

struct ModelParameters {
    static constexpr int kSensors = ProbeProfile::kSensors;

    ProbeProfile profile;
    double bottomWaterC = 4.0;
    double gradientKPerM = 0.064; // along the vertical
    std::array<double, kSensors> frictionAKs{10.0, 10.0, 10.0, 10.0, 10.0};
    double frictionMaxK = 5.0;
    std::array<double, kSensors> conductivity{1.0, 1.0, 1.0, 1.0, 1.0}; // W/(m K)
    // Nullopt: the probe sits in the sediment from the start, without a frictional jump.
    std::optional<double> penetrationS;
};

// The probe's five temperatures as pure functions of time: bottom water before penetration,
// then each sediment's equilibrium plus a frictional excess A/(t - tp) (capped), plus the
// heater's warming of an infinite line source at the probe's radius, superposed over spans.
class ForwardModel {
public:
    static constexpr int kSensors = ModelParameters::kSensors;

    explicit ForwardModel(const ModelParameters& parameters);

    const ModelParameters& parameters() const { return m_p; }

    // The exponential integral E1(x) for x > 0 (infinite at 0).
    static double e1(double x);
    // Diffusivity of marine sediment from its conductivity (Hyndman et al.), m^2/s.
    static double diffusivity(double conductivity);

    double verticalDepth(int sensor) const;
    double equilibrium(int sensor) const;
    double heatFlowMwPerM2() const; // harmonic mean conductivity times gradient
    double powerPerMetre(double level) const { return level * m_p.profile.heaterWPerMPerLevel; }

    double frictionExcess(int sensor, double t) const;
    // Rise of one sensor at t from the heater switched on at onS (and off at offS).
    double heaterRise(int sensor, double t, const HeaterSpan& span) const;
    double temperature(int sensor, double t, std::span<const HeaterSpan> heater) const;
    std::array<double, kSensors> temperatures(double t, std::span<const HeaterSpan> heater) const;

private:
    double stepResponse(int sensor, double sinceS) const;

    ModelParameters m_p;
    std::array<double, kSensors> m_kappa{};
};

} // namespace quorvane::probesim
