#include "analysis/ProbeProfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quorvane::analysis {

ProbeProfile ProbeProfile::defaultProfile() {
    ProbeProfile p;
    p.serial = QStringLiteral("0417");
    p.isDefault = true;
    return p;
}

QString ProbeProfile::problem() const {
    for (std::size_t i = 0; i < sensorDepthsM.size(); ++i) {
        if (!std::isfinite(sensorDepthsM[i]) || sensorDepthsM[i] < 0.0) {
            return QStringLiteral("sensor depths must be numbers of 0 m or more");
        }
        if (i > 0 && !(sensorDepthsM[i] > sensorDepthsM[i - 1])) {
            return QStringLiteral("sensor depths must increase from TTop to TBot");
        }
    }
    if (!std::isfinite(heaterWPerMPerLevel) || !(heaterWPerMPerLevel > 0.0)) {
        return QStringLiteral("heater calibration must be above 0 W/m per level");
    }
    if (!std::isfinite(radiusM) || !(radiusM > 0.0)) {
        return QStringLiteral("radius must be above 0 m");
    }
    if (!std::isfinite(alpha) || alpha < 0.0 || alpha > kHighestAlpha) {
        return QStringLiteral("alpha must be from 0 (a line) to 20");
    }
    if (heaterCalibrationUncertainty &&
        (!std::isfinite(*heaterCalibrationUncertainty) || *heaterCalibrationUncertainty < 0.0 ||
         *heaterCalibrationUncertainty >= 1.0)) {
        return QStringLiteral("heater calibration uncertainty must be a share from 0 to under 1");
    }
    if (depthUncertaintyM && (!std::isfinite(*depthUncertaintyM) || *depthUncertaintyM < 0.0 ||
                              *depthUncertaintyM > 1.0)) {
        return QStringLiteral("depth uncertainty must be from 0 to 1 m");
    }
    if (!std::isfinite(tiltDeg) || tiltDeg < 0.0 || tiltDeg >= 90.0) {
        return QStringLiteral("tilt must be from 0 to under 90 degrees");
    }
    return {};
}

std::optional<ProbeProfile> ProbeProfile::fromJson(const QByteArray& json, QString& error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("probe profile is not JSON: ") + parseError.errorString();
        return std::nullopt;
    }
    if (!doc.isObject()) {
        error = QStringLiteral("probe profile is not a JSON object");
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    ProbeProfile p;
    const QJsonValue serial = o.value(QStringLiteral("serial"));
    if (!serial.isString()) {
        error = QStringLiteral("probe profile: \"serial\" missing or not a string");
        return std::nullopt;
    }
    p.serial = serial.toString();
    const QJsonValue depths = o.value(QStringLiteral("sensor_depths_m"));
    if (!depths.isArray() || depths.toArray().size() != static_cast<int>(p.sensorDepthsM.size())) {
        error = QStringLiteral("probe profile: \"sensor_depths_m\" must hold 5 depths");
        return std::nullopt;
    }
    const QJsonArray depthArray = depths.toArray();
    for (int i = 0; i < depthArray.size(); ++i) {
        if (!depthArray[i].isDouble()) {
            error = QStringLiteral("probe profile: \"sensor_depths_m\" must hold numbers");
            return std::nullopt;
        }
        p.sensorDepthsM[static_cast<std::size_t>(i)] = depthArray[i].toDouble();
    }
    auto number = [&](const char* key, double& into) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isDouble()) {
            error = QStringLiteral("probe profile: \"%1\" missing or not a number")
                        .arg(QLatin1String(key));
            return false;
        }
        into = v.toDouble();
        return true;
    };
    if (!number("heater_w_per_m_per_level", p.heaterWPerMPerLevel) ||
        !number("radius_m", p.radiusM)) {
        return std::nullopt;
    }
    // Profiles written before alpha was known take the usual probe's.
    if (o.contains(QStringLiteral("alpha")) && !number("alpha", p.alpha)) {
        return std::nullopt;
    }
    for (const auto& [key, into] :
         {std::pair{"heater_calibration_uncertainty", &p.heaterCalibrationUncertainty},
          std::pair{"depth_uncertainty_m", &p.depthUncertaintyM}}) {
        if (o.contains(QLatin1String(key))) {
            double v = 0.0;
            if (!number(key, v)) {
                return std::nullopt;
            }
            *into = v;
        }
    }
    p.tiltEntered = o.contains(QStringLiteral("tilt_deg"));
    if (p.tiltEntered && !number("tilt_deg", p.tiltDeg)) {
        return std::nullopt;
    }
    const QString why = p.problem();
    if (!why.isEmpty()) {
        error = QStringLiteral("probe profile: ") + why;
        return std::nullopt;
    }
    return p;
}

QByteArray ProbeProfile::toJson() const {
    QJsonObject o;
    o.insert(QStringLiteral("serial"), serial);
    QJsonArray depths;
    for (double d : sensorDepthsM) {
        depths.append(d);
    }
    o.insert(QStringLiteral("sensor_depths_m"), depths);
    o.insert(QStringLiteral("heater_w_per_m_per_level"), heaterWPerMPerLevel);
    o.insert(QStringLiteral("radius_m"), radiusM);
    o.insert(QStringLiteral("alpha"), alpha);
    if (heaterCalibrationUncertainty) {
        o.insert(QStringLiteral("heater_calibration_uncertainty"), *heaterCalibrationUncertainty);
    }
    if (depthUncertaintyM) {
        o.insert(QStringLiteral("depth_uncertainty_m"), *depthUncertaintyM);
    }
    if (tiltEntered) {
        o.insert(QStringLiteral("tilt_deg"), tiltDeg);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace quorvane::analysis
