#include "ForwardModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quorvane::probesim {

ForwardModel::ForwardModel(const ModelParameters& parameters) : m_p(parameters) {
    for (int i = 0; i < kSensors; ++i) {
        m_kappa[std::size_t(i)] = diffusivity(m_p.conductivity[std::size_t(i)]);
    }
}

double ForwardModel::e1(double x) {
    if (x <= 0.0) {
        return std::numeric_limits<double>::infinity();
    }
    // std::expint is Ei; Ei(-x) = -E1(x). Far out E1 is below any double's use.
    if (x > 700.0) {
        return 0.0;
    }
    return -std::expint(-x);
}

double ForwardModel::diffusivity(double k) {
    return k / (5.79 - 3.67 * k + 1.016 * k * k) * 1e-6;
}

double ForwardModel::verticalDepth(int sensor) const {
    return m_p.profile.depthsM[std::size_t(sensor)] *
           std::cos(m_p.profile.tiltDeg * std::numbers::pi / 180.0);
}

double ForwardModel::equilibrium(int sensor) const {
    return m_p.bottomWaterC + m_p.gradientKPerM * verticalDepth(sensor);
}

double ForwardModel::heatFlowMwPerM2() const {
    double resistance = 0.0;
    for (double k : m_p.conductivity) {
        resistance += 1.0 / k;
    }
    return kSensors / resistance * m_p.gradientKPerM * 1000.0;
}

double ForwardModel::frictionExcess(int sensor, double t) const {
    if (!m_p.penetrationS || t <= *m_p.penetrationS) {
        return 0.0;
    }
    const double a = m_p.frictionAKs[std::size_t(sensor)];
    return std::min(a / (t - *m_p.penetrationS), m_p.frictionMaxK);
}

double ForwardModel::stepResponse(int sensor, double sinceS) const {
    if (sinceS <= 0.0) {
        return 0.0;
    }
    const double a = m_p.profile.radiusM;
    return e1(a * a / (4.0 * m_kappa[std::size_t(sensor)] * sinceS));
}

double ForwardModel::heaterRise(int sensor, double t, const HeaterSpan& span) const {
    const double q = powerPerMetre(span.level);
    if (q == 0.0) {
        return 0.0;
    }
    double e = stepResponse(sensor, t - span.onS);
    if (span.offS) {
        e -= stepResponse(sensor, t - *span.offS);
    }
    return q / (4.0 * std::numbers::pi * m_p.conductivity[std::size_t(sensor)]) * e;
}

double ForwardModel::temperature(int sensor, double t, std::span<const HeaterSpan> heater) const {
    const bool inSediment = !m_p.penetrationS || t > *m_p.penetrationS;
    double c = inSediment ? equilibrium(sensor) + frictionExcess(sensor, t) : m_p.bottomWaterC;
    for (const HeaterSpan& span : heater) {
        c += heaterRise(sensor, t, span);
    }
    return c;
}

std::array<double, ForwardModel::kSensors>
ForwardModel::temperatures(double t, std::span<const HeaterSpan> heater) const {
    std::array<double, kSensors> out{};
    for (int i = 0; i < kSensors; ++i) {
        out[std::size_t(i)] = temperature(i, t, heater);
    }
    return out;
}

} // namespace quorvane::probesim
