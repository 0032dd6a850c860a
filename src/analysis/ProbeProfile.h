#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace quorvane::analysis {

// What the data log does not say about a probe: thermistor depths along the probe (TTop
// first), the heater calibration, the probe's radius, α (twice the ratio of the heat
// capacities per volume, sediment over probe; 0 takes the probe for an ideal line) and the
// tilt from vertical.
struct ProbeProfile {
    QString serial;
    std::array<double, 5> sensorDepthsM{0.0, 0.5, 1.0, 1.5, 2.0};
    double heaterWPerMPerLevel = 0.25;
    double radiusM = 0.001;
    double alpha = 2.0;
    // What the probe's calibration sheet says of its accuracy, when it says so: the heater
    // calibration's relative uncertainty and the thermistors' depths' (m).
    std::optional<double> heaterCalibrationUncertainty;
    std::optional<double> depthUncertaintyM;
    double tiltDeg = 0.0;
    bool tiltEntered = true; // false when the profile leaves the tilt out
    bool isDefault = false;  // the stand-in used when the instrument has no profile

    static constexpr double kHighestAlpha = 20.0;

    // The stand-in profile, marked as such.
    static ProbeProfile defaultProfile();

    // Empty when the profile can be used, else the reason it cannot.
    QString problem() const;

    // Parses and checks a profile; on failure returns nullopt and says why in `error`.
    static std::optional<ProbeProfile> fromJson(const QByteArray& json, QString& error);
    QByteArray toJson() const;
};

} // namespace quorvane::analysis
