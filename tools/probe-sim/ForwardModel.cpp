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
    if (m_p.profile.alpha > 0.0) {
        m_table = std::make_shared<const BullardTable>(m_p.profile.alpha);
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

double ForwardModel::frictionEnergy(int sensor) const {
    const auto s = std::size_t(sensor);
    return 4.0 * std::numbers::pi * m_p.conductivity[s] * m_p.frictionAKs[s];
}

double ForwardModel::dimensionlessTime(int sensor, double seconds) const {
    const double a = m_p.profile.radiusM;
    return m_kappa[std::size_t(sensor)] * seconds / (a * a);
}

int ForwardModel::penetrationAt(double t) const {
    int n = -1;
    for (std::size_t i = 0; i < m_p.penetrations.size() && m_p.penetrations[i].inS < t; ++i) {
        n = int(i);
    }
    return n;
}

double ForwardModel::sincePenetration(int sensor, double since) const {
    const auto s = std::size_t(sensor);
    const double sinceHeating = since - m_p.frictionDelayS[s];
    const double amplitude = m_p.frictionAKs[s];
    if (!m_table) {
        if (sinceHeating <= 0.0) {
            return 0.0;
        }
        return std::min(amplitude / sinceHeating, m_p.frictionMaxK);
    }
    if (sinceHeating < 0.0) {
        return 0.0;
    }
    // E/(4πk)·(2ακ/a²)·F(α, κs/a²): A/s late, A·2ακ/a² at the moment of the heating.
    const double a = m_p.profile.radiusM;
    return amplitude * 2.0 * m_p.profile.alpha * m_kappa[s] / (a * a) *
           m_table->f(dimensionlessTime(sensor, sinceHeating));
}

double ForwardModel::frictionExcess(int sensor, double t) const {
    const int n = penetrationAt(t);
    return n < 0 ? 0.0 : sincePenetration(sensor, t - m_p.penetrations[std::size_t(n)].inS);
}

double ForwardModel::heaterRise(int sensor, double t, const HeaterSpan& span) const {
    const double q = powerPerMetre(span.level);
    if (q == 0.0) {
        return 0.0;
    }
    // The rise of a constant heating from a moment, in units of q/(4πk).
    auto step = [this, sensor](double since) {
        if (since <= 0.0) {
            return 0.0;
        }
        if (m_table) {
            return m_table->heating(dimensionlessTime(sensor, since));
        }
        const double a = m_p.profile.radiusM;
        return e1(a * a / (4.0 * m_kappa[std::size_t(sensor)] * since));
    };
    double rise = step(t - span.onS);
    if (span.offS) {
        rise -= step(t - *span.offS);
    }
    return q / (4.0 * std::numbers::pi * m_p.conductivity[std::size_t(sensor)]) * rise;
}

double ForwardModel::sediment(int sensor, double t, int n,
                              std::span<const HeaterSpan> heater) const {
    const Penetration& stay = m_p.penetrations[std::size_t(n)];
    // Heat from an earlier stay is gone: the water took it between.
    const double from = n > 0 ? m_p.penetrations[std::size_t(n) - 1].outS.value_or(stay.inS)
                              : -std::numeric_limits<double>::infinity();
    double c = equilibrium(sensor) + sincePenetration(sensor, t - stay.inS);
    for (const HeaterSpan& span : heater) {
        if (span.onS >= from) {
            c += heaterRise(sensor, t, span);
        }
    }
    return c;
}

double ForwardModel::temperature(int sensor, double t, std::span<const HeaterSpan> heater) const {
    const double offset = m_p.offsetK[std::size_t(sensor)];
    if (m_p.penetrations.empty()) {
        double c = equilibrium(sensor);
        for (const HeaterSpan& span : heater) {
            c += heaterRise(sensor, t, span);
        }
        return c + offset;
    }
    const int n = penetrationAt(t);
    if (n < 0) {
        // In the water before the first penetration the heater still warms the probe.
        double c = m_p.bottomWaterC;
        for (const HeaterSpan& span : heater) {
            c += heaterRise(sensor, t, span);
        }
        return c + offset;
    }
    const Penetration& stay = m_p.penetrations[std::size_t(n)];
    if (stay.outS && t > *stay.outS) {
        const double left = sediment(sensor, *stay.outS, n, heater) - m_p.bottomWaterC;
        return m_p.bottomWaterC + left * std::exp(-(t - *stay.outS) / m_p.waterTimeConstantS) +
               offset;
    }
    return sediment(sensor, t, n, heater) + offset;
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
