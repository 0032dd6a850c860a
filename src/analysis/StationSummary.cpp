#include "analysis/StationSummary.h"

#include "analysis/GradientFit.h"
#include "analysis/HeatFlow.h"

#include <cmath>

namespace quorvane::analysis {

void StationSummary::summarise(const ProbeProfile& profile, const Use& use, ReductionResults& out) {
    constexpr int kAll = static_cast<int>(kSensorCount);
    const double calibration = profile.heaterCalibrationUncertainty.value_or(0.0);
    out.uncertaintyIncludes << QStringLiteral("fits");
    if (profile.heaterCalibrationUncertainty) {
        out.uncertaintyIncludes
            << QStringLiteral("heater calibration %1 %").arg(calibration * 100.0, 0, 'g', 3);
    }
    if (profile.depthUncertaintyM) {
        out.uncertaintyIncludes
            << QStringLiteral("thermistor depths %1 m").arg(*profile.depthUncertaintyM, 0, 'g', 3);
    }
    std::vector<double> depths(profile.sensorDepthsM.begin(), profile.sensorDepthsM.end());
    std::vector<std::optional<double>> tEq;
    std::vector<std::optional<double>> k;
    std::vector<std::optional<double>> kErr;
    for (std::size_t i = 0; i < kSensorCount; ++i) {
        SensorResult& s = out.sensors[i];
        tEq.push_back(use.gradient[i] ? s.tEqC : std::nullopt);
        k.push_back(use.k[i] ? s.kWPerMK : std::nullopt);
        kErr.push_back(use.k[i] ? s.kErrWPerMK : std::nullopt);
        if (use.gradient[i] && s.tEqC) {
            out.gradientSensorNames << s.name;
        }
        if (use.k[i] && s.kWPerMK) {
            out.kSensorNames << s.name;
        }
        // One heater for all: its calibration moves every measured k alike.
        if (s.kWPerMK && s.kErrWPerMK && s.kMethod != QLatin1String("entered")) {
            s.kErrWPerMK = std::hypot(*s.kErrWPerMK, *s.kWPerMK * calibration);
        }
    }

    const GradientFit gradientFit(profile.tiltDeg);
    double depthShare = 0.0; // the depths' share of the gradient's relative error
    const auto gradient = gradientFit.fit(depths, tEq);
    if (!gradient) {
        out.flags << gradient.reason();
    } else {
        out.gradientKPerM = gradient->kPerM;
        out.gradientErrKPerM = gradient->errKPerM;
        if (profile.depthUncertaintyM) {
            // Each depth known to ±σ_z moves the slope by Γ·σ_z/√Sxx, independently.
            double mean = 0.0;
            int n = 0;
            for (std::size_t i = 0; i < kSensorCount; ++i) {
                if (tEq[i]) {
                    mean += gradientFit.verticalDepth(depths[i]);
                    ++n;
                }
            }
            mean /= n;
            double sxx = 0.0;
            for (std::size_t i = 0; i < kSensorCount; ++i) {
                if (tEq[i]) {
                    const double d = gradientFit.verticalDepth(depths[i]) - mean;
                    sxx += d * d;
                }
            }
            depthShare = gradientFit.verticalDepth(*profile.depthUncertaintyM) / std::sqrt(sxx);
            out.gradientErrKPerM = std::hypot(gradient->errKPerM, gradient->kPerM * depthShare);
        }
        out.gradientInterceptC = gradient->interceptC;
        out.gradientSensors = gradient->sensors;
        if (gradient->sensors < kAll) {
            out.flags << QStringLiteral("gradient from %1 thermistors").arg(gradient->sensors);
        }
    }

    // The mean's error: the fits' errors carried through, each on its own, and the heater's
    // calibration once for all (it is the same for every thermistor).
    std::vector<std::optional<double>> fitErr = kErr;
    for (std::size_t i = 0; i < kSensorCount; ++i) {
        if (fitErr[i] && k[i] && out.sensors[i].kMethod != QLatin1String("entered")) {
            const double systematic = *k[i] * calibration;
            fitErr[i] = std::sqrt(std::max(0.0, *fitErr[i] * *fitErr[i] - systematic * systematic));
        }
    }
    auto mean = HeatFlow::harmonicMean(k, fitErr);
    if (mean) {
        mean = MeanConductivity{
            mean->kWPerMK, std::hypot(mean->errWPerMK, mean->kWPerMK * calibration), mean->sensors};
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
        const auto q = HeatFlow::interval(*mean, *out.gradientKPerM, *out.gradientErrKPerM);
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
        const auto bullard = HeatFlow::bullard(vertical, tEq, k);
        if (bullard) {
            out.heatFlowBullardMWPerM2 = bullard->mWPerM2;
            // The calibration and the depths move Bullard's slope as they move k and Γ.
            const double b = std::abs(bullard->mWPerM2);
            out.heatFlowBullardErrMWPerM2 =
                std::sqrt(bullard->errMWPerM2 * bullard->errMWPerM2 + std::pow(b * calibration, 2) +
                          std::pow(b * depthShare, 2));
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
