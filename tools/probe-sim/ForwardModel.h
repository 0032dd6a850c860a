#pragma once

#include "BullardTable.h"
#include "ProbeProfile.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace quorvane::probesim {

// The heater at one level from onS until offS (open while it is still on). Times are
// seconds on the model's own axis.
struct HeaterSpan {
    double onS = 0.0;
    std::optional<double> offS;
    double level = 0.0;
};

// One stay in the sediment: in at inS, out at outS (never, when absent).
struct Penetration {
    double inS = 0.0;
    std::optional<double> outS;
};

struct ModelParameters {
    static constexpr int kSensors = ProbeProfile::kSensors;

    ProbeProfile profile;
    double bottomWaterC = 4.0;
    double gradientKPerM = 0.064; // along the vertical
    // Late-time amplitude A = E/(4πk) of each thermistor's frictional heating, K·s.
    std::array<double, kSensors> frictionAKs{10.0, 10.0, 10.0, 10.0, 10.0};
    // The frictional heating comes this long after the penetration, s.
    std::array<double, kSensors> frictionDelayS{};
    double frictionMaxK = 5.0;                                          // the line source's cap
    std::array<double, kSensors> conductivity{1.0, 1.0, 1.0, 1.0, 1.0}; // W/(m K)
    // Calibration error of each thermistor, added to all its readings.
    std::array<double, kSensors> offsetK{};
    // Empty: the probe sits in the sediment from the start, without a frictional jump.
    std::vector<Penetration> penetrations;
    // How fast the probe takes the bottom water's temperature after a pull-out, s.
    double waterTimeConstantS = 5.0;
};

// The probe's five readings as pure functions of time: the bottom water before the
// penetration; in the sediment each thermistor's equilibrium plus the frictional heating and
// the heater's warming, both as Bullard's perfectly conducting cylinder (α > 0) or as an ideal
// line source (α = 0: friction A/(t − tp), capped, and the E1 rise); after a pull-out the
// exponential approach to the bottom water. Each penetration starts afresh from the water.
// A thermistor's calibration offset is on every reading.
class ForwardModel {
public:
    static constexpr int kSensors = ModelParameters::kSensors;

    explicit ForwardModel(const ModelParameters& parameters);

    const ModelParameters& parameters() const { return m_p; }
    bool cylinder() const { return m_table != nullptr; }

    // The exponential integral E1(x) for x > 0 (infinite at 0).
    static double e1(double x);
    // Diffusivity of marine sediment from its conductivity (Hyndman et al.), m^2/s.
    static double diffusivity(double conductivity);

    double verticalDepth(int sensor) const;
    double equilibrium(int sensor) const;
    double heatFlowMwPerM2() const; // harmonic mean conductivity times gradient
    double powerPerMetre(double level) const { return level * m_p.profile.heaterWPerMPerLevel; }
    // E = 4πk·A, J/m.
    double frictionEnergy(int sensor) const;

    // The frictional excess at t of the penetration the probe is in (or last was in).
    double frictionExcess(int sensor, double t) const;
    // Rise of one sensor at t from the heater switched on at onS (and off at offS).
    double heaterRise(int sensor, double t, const HeaterSpan& span) const;
    // What the thermistor reads, its offset included.
    double temperature(int sensor, double t, std::span<const HeaterSpan> heater) const;
    std::array<double, kSensors> temperatures(double t, std::span<const HeaterSpan> heater) const;

private:
    // Index of the last penetration before t, or -1.
    int penetrationAt(double t) const;
    double sincePenetration(int sensor, double since) const;
    // The sediment's temperature during penetration n, heated by the spans from its own time.
    double sediment(int sensor, double t, int n, std::span<const HeaterSpan> heater) const;
    double dimensionlessTime(int sensor, double seconds) const;

    ModelParameters m_p;
    std::array<double, kSensors> m_kappa{};
    std::shared_ptr<const BullardTable> m_table; // null for a line source
};

} // namespace quorvane::probesim
