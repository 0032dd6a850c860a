#include "analysis/StationSummary.h"

#include "analysis/GradientFit.h"
#include "analysis/HeatFlow.h"

#include <cmath>

namespace quorvane::analysis {

void StationSummary::summarise(const ProbeProfile& profile, const Use& use, ReductionResults& out) {
    constexpr int kAll = static_cast<int>(kSensorCount);
    std::vector<double> depths(profile.sensorDepthsM.begin(), profile.sensorDepthsM.end());
    std::vector<std::optional<double>> tEq;
    std::vector<std::optional<double>> k;
    std::vector<std::optional<double>> kErr;
    std::vector<std::optional<double>> kBullard;
    for (std::size_t i = 0; i < kSensorCount; ++i) {
        const SensorResult& s = out.sensors[i];
        tEq.push_back(use.gradient[i] ? s.tEqC : std::nullopt);
        k.push_back(use.k[i] ? s.kWPerMK : std::nullopt);
        kErr.push_back(use.k[i] ? s.kErrWPerMK : std::nullopt);
        // Bullard's method needs the thermal resistance of every interval it crosses.
        kBullard.push_back(use.gradient[i] ? s.kWPerMK : std::nullopt);
        if (use.gradient[i] && s.tEqC) {
            out.gradientSensorNames << s.name;
        }
        if (use.k[i] && s.kWPerMK) {
            out.kSensorNames << s.name;
        }
    }

    const GradientFit gradientFit(profile.tiltDeg);
    const auto gradient = gradientFit.fit(depths, tEq);
    if (!gradient) {
        out.flags << gradient.reason();
    } else {
        out.gradientKPerM = gradient->kPerM;
        out.gradientErrKPerM = gradient->errKPerM;
        out.gradientInterceptC = gradient->interceptC;
        out.gradientSensors = gradient->sensors;
        if (gradient->sensors < kAll) {
            out.flags << QStringLiteral("gradient from %1 thermistors").arg(gradient->sensors);
        }
    }

    const auto mean = HeatFlow::harmonicMean(k, kErr);
    if (mean) {
        out.harmonicMeanKWPerMK = mean->kWPerMK;
        out.harmonicMeanKErrWPerMK = mean->errWPerMK;
    }
    if (!gradient || !mean) {
        out.flags << (gradient ? QStringLiteral("heat flow: no conductivity")
                               : QStringLiteral("heat flow: no gradient"));
    } else {
        if (mean->sensors < kAll) {
            out.flags << QStringLiteral("heat flow: mean k from %1 thermistors").arg(mean->sensors);
        }
        const auto q = HeatFlow::interval(*mean, gradient->kPerM, gradient->errKPerM);
        out.heatFlowMWPerM2 = q.mWPerM2;
        out.heatFlowErrMWPerM2 = q.errMWPerM2;
        if (q.mWPerM2 != 0.0) {
            out.relativeUncertainty = q.errMWPerM2 / std::abs(q.mWPerM2);
            out.quality = HeatFlow::quality(*out.relativeUncertainty);
        } else {
            out.flags << QStringLiteral("heat flow of zero: no quality");
        }
        std::vector<double> vertical;
        for (double d : depths) {
            vertical.push_back(gradientFit.verticalDepth(d));
        }
        const auto bullard = HeatFlow::bullard(vertical, tEq, kBullard);
        if (bullard) {
            out.heatFlowBullardMWPerM2 = bullard->mWPerM2;
            out.heatFlowBullardErrMWPerM2 = bullard->errMWPerM2;
        } else {
            out.flags << bullard.reason();
        }
    }
    if (profile.isDefault && (out.gradientKPerM || out.heatFlowMWPerM2)) {
        out.flags << QStringLiteral("gradient and heat flow from the default probe profile");
    }

    // What holds the quality down besides the uncertainty: no better than "acceptable".
    if (out.quality.isEmpty()) {
        return;
    }
    QString cap;
    for (std::size_t i = 0; i < kSensorCount && cap.isEmpty(); ++i) {
        const SensorResult& s = out.sensors[i];
        if ((use.gradient[i] || use.k[i]) && s.misfit) {
            cap =
                QStringLiteral("a fit's misfit is above 5 mK or 5 % of the rise (%1)").arg(s.name);
        }
    }
    if (cap.isEmpty() && profile.isDefault) {
        cap = QStringLiteral("the default probe profile");
    }
    for (std::size_t i = 0; i < kSensorCount && cap.isEmpty(); ++i) {
        if (use.k[i] && out.sensors[i].kMethod == QLatin1String("entered")) {
            cap = QStringLiteral("k entered by the operator, its error unknown");
        }
    }
    if (!cap.isEmpty() &&
        (out.quality == QLatin1String("excellent") || out.quality == QLatin1String("good"))) {
        out.quality = QStringLiteral("acceptable");
        out.qualityCap = QStringLiteral("capped at acceptable: ") + cap;
    }
}

} // namespace quorvane::analysis
