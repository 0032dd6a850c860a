#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace quorvane::analysis {

// A fit window in UTC seconds since 1970, and the records it held.
struct FitWindow {
    double fromS = 0.0;
    double toS = 0.0;
    int records = 0;
};

// What the reduction found for one thermistor. A value that could not be found is empty,
// and `flags` says why.
struct SensorResult {
    QString name;
    double depthM = 0.0;

    // Frictional decay: T = T_eq + A / (t - t_p). The heater's rise is T minus this curve;
    // the heating fit's curve is LineSource(q, radius).heatingRise(kHeating, t - t_on) plus
    // heatingOffsetK.
    std::optional<FitWindow> decayWindow;
    int recordsDecay = 0;
    std::optional<double> tEqC;
    std::optional<double> tEqErrC;
    std::optional<double> decayA; // K·s
    std::optional<double> decayRmsC;

    // Conductivity: the estimate and the method that gave it ("heating" or "cooling").
    std::optional<double> kWPerMK;
    std::optional<double> kErrWPerMK;
    QString kMethod;
    std::optional<double> kappaM2PerS;

    std::optional<FitWindow> heatingWindow;
    std::optional<double> kHeatingWPerMK;
    std::optional<double> heatingOffsetK; // the heating fit's constant C
    std::optional<double> heatingRmsC;

    std::optional<FitWindow> coolingWindow;
    std::optional<double> kCoolingWPerMK;
    std::optional<double> kCoolingErrWPerMK;
    std::optional<double> coolingRmsC;

    // The largest RMS misfit of this thermistor's fits.
    std::optional<double> fitRmsC;

    QStringList flags;
};

struct HeaterResult {
    std::optional<double> onS;
    std::optional<double> offS;
    int level = 0;
    std::optional<double> qWPerM;
};

struct ReductionResults {
    QString file;
    int records = 0;
    int badLines = 0;
    double logIntervalS = 0.0;

    std::optional<double> penetrationS;
    bool penetrationSeen = false;

    HeaterResult heater;
    std::array<SensorResult, 5> sensors;

    std::optional<double> gradientKPerM;
    std::optional<double> gradientErrKPerM;
    int gradientSensors = 0;
    std::optional<double> heatFlowMWPerM2;
    std::optional<double> heatFlowErrMWPerM2;
    std::optional<double> heatFlowBullardMWPerM2;
    std::optional<double> harmonicMeanKWPerMK;

    // "excellent", "good", "acceptable" or "poor"; empty when there is no heat flow.
    QString quality;
    QStringList flags;
};

} // namespace quorvane::analysis
