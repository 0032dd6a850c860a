#pragma once

#include "analysis/DecayCurve.h"
#include "analysis/HeaterCurve.h"
#include "analysis/ProbeProfile.h"

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

    // Frictional decay: Bullard's F fit ("bullard-F") or, for a line, the 1/t fit
    // ("line-1/t"). `decayCurve` is the fitted curve, carried forward into the heating.
    std::optional<FitWindow> decayWindow;
    int recordsDecay = 0;
    QString decayMethod;
    std::optional<double> decayDelayS;
    std::optional<double> tEqC;
    std::optional<double> tEqErrC;
    std::optional<double> decayRmsC;
    std::optional<DecayCurve> decayCurve;

    // Conductivity: the estimate and the method that gave it ("pulse-F", "heating-slope",
    // "line-E1" or "entered"); `kCurve` is the fit that gave it (none when entered).
    std::optional<double> kWPerMK;
    std::optional<double> kErrWPerMK;
    QString kMethod;
    std::optional<double> kappaM2PerS;
    std::optional<HeaterCurve> kCurve;
    std::optional<FitWindow> kWindow;
    std::optional<double> kRmsC;
    std::optional<double> kRiseK;

    // A long heating's second estimate, from its cooling.
    std::optional<FitWindow> coolingWindow;
    std::optional<double> kCoolingWPerMK;
    std::optional<double> kCoolingErrWPerMK;
    std::optional<double> coolingRmsC;
    std::optional<HeaterCurve> coolingCurve;

    // The largest RMS misfit of this thermistor's fits.
    std::optional<double> fitRmsC;
    // A fit's misfit is above what the model allows: the station's quality is capped.
    bool misfit = false;
    // What the operator left it out of ("gradient", "k"), and why.
    QStringList excluded;
    QString excludedReason;

    QStringList flags;
};

struct HeaterResult {
    std::optional<double> onS;
    std::optional<double> offS;
    int level = 0;
    std::optional<double> qWPerM;
    bool pulse = false;
};

struct ReductionResults {
    // Where the station lies in its file: the run (header block), the penetration within the
    // run and the penetration within the file, each from 1; 0 where the file was not split.
    int run = 0;
    int penetration = 0;
    int stationIndex = 0;

    QString file;
    int records = 0;
    int badLines = 0;
    double logIntervalS = 0.0;

    std::optional<double> penetrationS;
    bool penetrationSeen = false;
    bool penetrationSetByOperator = false;
    std::optional<double> bottomWaterC;
    std::optional<std::array<double, 5>> calibrationOffsetsC;

    HeaterResult heater;
    std::array<SensorResult, 5> sensors;

    std::optional<double> gradientKPerM;
    std::optional<double> gradientErrKPerM;
    std::optional<double> gradientInterceptC;
    int gradientSensors = 0;
    QStringList gradientSensorNames;
    QStringList kSensorNames;
    std::optional<double> heatFlowMWPerM2;
    std::optional<double> heatFlowErrMWPerM2;
    std::optional<double> heatFlowBullardMWPerM2;
    std::optional<double> heatFlowBullardErrMWPerM2;
    std::optional<double> harmonicMeanKWPerMK;
    std::optional<double> harmonicMeanKErrWPerMK;
    std::optional<double> relativeUncertainty;
    std::optional<double> tiltDeg; // the tilt used, when the profile gave one
    // The probe the station was reduced with, and what its errors include besides the fits'.
    std::optional<ProbeProfile> probe;
    QStringList uncertaintyIncludes;

    // "excellent", "good", "acceptable" or "poor"; empty when there is no heat flow.
    QString quality;
    // Why the quality is no better than it is, when something other than the uncertainty
    // holds it down; empty otherwise.
    QString qualityCap;
    QStringList flags;
};

} // namespace quorvane::analysis
