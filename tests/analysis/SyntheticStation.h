#pragma once

#include "analysis/CylinderResponse.h"
#include "analysis/StationRecords.h"

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>

namespace quorvane::analysis::test {

// A station computed from the closed-form formulas, written here apart from the reduction:
// bottom water, at penetration a jump decaying as A/(t - t_p) towards T_eq = T_w + Γ z cos θ,
// and the heater's line-source rise and fall with E1. With `alpha` above 0 the probe is a
// cylinder instead, through the reduction's own F and H (for the fits' and the benchmark's
// own checks; the simulator's independent physics is what the accuracy is measured on).
struct SyntheticStation {
    double startS = 1796734800.0; // 2026-12-08T13:00:00Z
    double intervalS = 1.0;
    int records = 1800;
    int penetrationRecord = 60; // first record in the sediment; t_p half an interval before
    double bottomWaterC = 4.0;
    double gradientKPerM = 0.06;
    std::array<double, 5> depthsM{0.0, 0.5, 1.0, 1.5, 2.0};
    double tiltDeg = 0.0;
    std::array<double, 5> frictionKs{30.0, 40.0, 50.0, 45.0, 35.0};
    std::array<double, 5> k{1.0, 1.0, 1.0, 1.0, 1.0};
    int heatDelayRecords = 420; // heater on from this many records after the first in the sediment
    int heatRecords = 600;
    int level = 120;
    double heaterWPerMPerLevel = 0.25;
    double radiusM = 0.001;
    double noiseK = 0.0;
    unsigned seed = 7;
    double alpha = 0.0;
    mutable std::shared_ptr<const CylinderResponse> response;

    double penetrationS() const { return startS + (penetrationRecord - 0.5) * intervalS; }
    double onS() const { return startS + (penetrationRecord + heatDelayRecords - 0.5) * intervalS; }
    double offS() const { return onS() + heatRecords * intervalS; }
    double q() const { return level * heaterWPerMPerLevel; }
    double tEq(std::size_t i) const {
        return bottomWaterC +
               gradientKPerM * depthsM[i] * std::cos(tiltDeg * std::numbers::pi / 180.0);
    }
    static double e1(double x) { return -std::expint(-x); }
    static double kappa(double k) { return k / (5.79 - 3.67 * k + 1.016 * k * k) * 1e-6; }

    double temperature(std::size_t i, double t) const {
        const double tp = penetrationS();
        if (t < tp) {
            return bottomWaterC;
        }
        const double c = q() / (4.0 * std::numbers::pi * k[i]);
        if (response) {
            const double scale = kappa(k[i]) / (radiusM * radiusM);
            // The same late-time decay A/(t − t_p): a heating of 4πkA J/m at t_p.
            double v =
                tEq(i) + frictionKs[i] * 2.0 * alpha * scale * response->pulse(scale * (t - tp));
            if (heatRecords > 0 && t > onS()) {
                v += c * response->heating(scale * (t - onS()));
                if (t > offS()) {
                    v -= c * response->heating(scale * (t - offS()));
                }
            }
            return v;
        }
        double v = tEq(i) + frictionKs[i] / (t - tp);
        const double arg = radiusM * radiusM / (4.0 * kappa(k[i]));
        if (heatRecords > 0 && t > onS()) {
            v += c * e1(arg / (t - onS()));
            if (t > offS()) {
                v -= c * e1(arg / (t - offS()));
            }
        }
        return v;
    }

    StationRecords make() const {
        if (alpha > 0.0 && (!response || response->alpha() != alpha)) {
            response = std::make_shared<const CylinderResponse>(alpha);
        }
        StationRecords r;
        r.logIntervalS = intervalS;
        r.serial = QStringLiteral("0417");
        r.fileName = QStringLiteral("synthetic.log");
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0.0, noiseK > 0.0 ? noiseK : 1.0);
        for (int n = 0; n < records; ++n) {
            const double t = startS + n * intervalS;
            std::array<double, 5> temps{};
            for (std::size_t i = 0; i < 5; ++i) {
                temps[i] = temperature(i, t) + (noiseK > 0.0 ? noise(random) : 0.0);
            }
            const bool on = heatRecords > 0 && t > onS() && t < offS();
            r.append(t, temps, on ? level : 0);
        }
        return r;
    }
};

} // namespace quorvane::analysis::test
