#include "ProbeProfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace quorvane::probesim {

std::string ProbeProfile::problem() const {
    for (double z : depthsM) {
        if (!std::isfinite(z) || z < 0.0) {
            return "sensor depths must be zero or more";
        }
    }
    if (!std::isfinite(heaterWPerMPerLevel) || heaterWPerMPerLevel < 0.0) {
        return "heater calibration must be zero or more";
    }
    if (!std::isfinite(radiusM) || radiusM <= 0.0) {
        return "radius must be more than zero";
    }
    if (!std::isfinite(alpha) ||
        (alpha != 0.0 && (alpha < kLowestAlpha || alpha > kHighestAlpha))) {
        return "alpha must be 0 (a line source) or from 0.1 to 10";
    }
    if (!std::isfinite(tiltDeg) || tiltDeg < 0.0 || tiltDeg >= 90.0) {
        return "tilt must be from 0 to below 90 degrees";
    }
    return {};
}

std::optional<ProbeProfile> ProbeProfile::fromJson(const std::string& json, std::string& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (doc.isNull() || !doc.isObject()) {
        error = "profile is not a JSON object: " + parseError.errorString().toStdString();
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    ProbeProfile p;
    auto number = [&o, &error](const char* key, double& target) {
        if (!o.contains(key)) {
            return true;
        }
        if (!o.value(key).isDouble()) {
            error = std::string("profile: ") + key + " must be a number";
            return false;
        }
        target = o.value(key).toDouble();
        return true;
    };
    if (o.contains("serial")) {
        if (!o.value("serial").isString()) {
            error = "profile: serial must be a string";
            return std::nullopt;
        }
        p.serial = o.value("serial").toString().toStdString();
    }
    if (o.contains("sensor_depths_m")) {
        const QJsonArray depths = o.value("sensor_depths_m").toArray();
        if (!o.value("sensor_depths_m").isArray() || depths.size() != kSensors) {
            error = "profile: sensor_depths_m must hold five numbers";
            return std::nullopt;
        }
        for (int i = 0; i < kSensors; ++i) {
            if (!depths[i].isDouble()) {
                error = "profile: sensor_depths_m must hold five numbers";
                return std::nullopt;
            }
            p.depthsM[std::size_t(i)] = depths[i].toDouble();
        }
    }
    if (!number("heater_w_per_m_per_level", p.heaterWPerMPerLevel) ||
        !number("radius_m", p.radiusM) || !number("alpha", p.alpha) ||
        !number("tilt_deg", p.tiltDeg)) {
        return std::nullopt;
    }
    if (const std::string why = p.problem(); !why.empty()) {
        error = "profile: " + why;
        return std::nullopt;
    }
    return p;
}

std::optional<ProbeProfile> ProbeProfile::load(const std::string& path, std::string& error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read profile " + path + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    return fromJson(file.readAll().toStdString(), error);
}

} // namespace quorvane::probesim
