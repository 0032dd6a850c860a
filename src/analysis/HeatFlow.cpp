#include "analysis/HeatFlow.h"

#include "analysis/LineFit.h"

#include <cmath>

namespace quorvane::analysis {

FitOutcome<MeanConductivity>
HeatFlow::harmonicMean(const std::vector<std::optional<double>>& k,
                       const std::vector<std::optional<double>>& kErr) {
    double inverseSum = 0.0;
    int n = 0;
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (k[i] && *k[i] > 0.0) {
            inverseSum += 1.0 / *k[i];
            ++n;
        }
    }
    if (n == 0) {
        return FitOutcome<MeanConductivity>::failed(QStringLiteral("no thermistor with a k"));
    }
    MeanConductivity mean;
    mean.kWPerMK = n / inverseSum;
    mean.sensors = n;
    // d k̄ / d k_i = k̄² / (n k_i²)
    double variance = 0.0;
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (k[i] && *k[i] > 0.0) {
            const double err = i < kErr.size() && kErr[i] ? *kErr[i] : 0.0;
            const double d = mean.kWPerMK * mean.kWPerMK / (n * *k[i] * *k[i]);
            variance += d * d * err * err;
        }
    }
    mean.errWPerMK = std::sqrt(variance);
    return mean;
}

IntervalHeatFlow HeatFlow::interval(const MeanConductivity& k, double gradient,
                                    double gradientErr) {
    IntervalHeatFlow q;
    q.mWPerM2 = k.kWPerMK * gradient * 1000.0;
    const double relK = k.errWPerMK / k.kWPerMK;
    const double relG = gradient != 0.0 ? gradientErr / gradient : 0.0;
    q.errMWPerM2 = std::abs(q.mWPerM2) * std::sqrt(relK * relK + relG * relG);
    return q;
}

FitOutcome<IntervalHeatFlow> HeatFlow::bullard(const std::vector<double>& z,
                                               const std::vector<std::optional<double>>& tEq,
                                               const std::vector<std::optional<double>>& k) {
    std::vector<double> resistance;
    std::vector<double> temperature;
    double r = 0.0;
    std::optional<std::size_t> previous;
    for (std::size_t i = 0; i < z.size() && i < tEq.size() && i < k.size(); ++i) {
        if (!tEq[i] || !k[i] || !(*k[i] > 0.0)) {
            continue;
        }
        if (previous) {
            // Each interval takes the mean k of its two ends.
            r += (z[i] - z[*previous]) / ((*k[i] + *k[*previous]) / 2.0);
        }
        resistance.push_back(r);
        temperature.push_back(*tEq[i]);
        previous = i;
    }
    if (resistance.size() < 3) {
        return FitOutcome<IntervalHeatFlow>::failed(
            QStringLiteral("Bullard heat flow: fewer than 3 thermistors with T_eq and k"));
    }
    const auto line = LineFit::fit(resistance, temperature);
    if (!line) {
        return FitOutcome<IntervalHeatFlow>::failed(
            QStringLiteral("Bullard heat flow not possible"));
    }
    return IntervalHeatFlow{line->slope * 1000.0, line->slopeErr * 1000.0};
}

QString HeatFlow::quality(double relativeError) {
    if (relativeError < 0.05) {
        return QStringLiteral("excellent");
    }
    if (relativeError < 0.15) {
        return QStringLiteral("good");
    }
    if (relativeError < 0.25) {
        return QStringLiteral("acceptable");
    }
    return QStringLiteral("poor");
}

} // namespace quorvane::analysis
