#include "station/StationDescription.h"

#include "station/NumberText.h"

#include <QJsonValue>

#include <cmath>

namespace quorvane::station {

namespace {

const QString kCruise = QStringLiteral("cruise");
const QString kStation = QStringLiteral("station");
const QString kPenetrationNumber = QStringLiteral("penetration_number");
const QString kLatitude = QStringLiteral("latitude_deg");
const QString kLongitude = QStringLiteral("longitude_deg");
const QString kWaterDepth = QStringLiteral("water_depth_m");
const QString kProbeType = QStringLiteral("probe_type");
const QString kProbeLength = QStringLiteral("probe_length_m");
const QString kTopDepth = QStringLiteral("top_thermistor_depth_m");
const QString kComment = QStringLiteral("comment");

// Text that holds nothing but blanks was not entered.
bool entered(const std::optional<QString>& text) {
    return text && !text->trimmed().isEmpty();
}

QString notANumber(const std::optional<double>& v, const char* what) {
    if (v && !std::isfinite(*v)) {
        return QStringLiteral("%1 is not a number").arg(QLatin1String(what));
    }
    return {};
}

} // namespace

QString StationDescription::problem() const {
    for (const auto& [value, what] :
         {std::pair{latitudeDeg, "latitude"}, std::pair{longitudeDeg, "longitude"},
          std::pair{waterDepthM, "water depth"}, std::pair{probeLengthM, "probe length"},
          std::pair{topThermistorDepthM, "depth of the top thermistor"}}) {
        const QString why = notANumber(value, what);
        if (!why.isEmpty()) {
            return why;
        }
    }
    if (latitudeDeg && std::abs(*latitudeDeg) > 90.0) {
        return QStringLiteral("latitude %1 is outside -90 to 90")
            .arg(NumberText::format(*latitudeDeg));
    }
    if (longitudeDeg && std::abs(*longitudeDeg) > 180.0) {
        return QStringLiteral("longitude %1 is outside -180 to 180")
            .arg(NumberText::format(*longitudeDeg));
    }
    if (waterDepthM && *waterDepthM < 0.0) {
        return QStringLiteral("water depth %1 m is negative").arg(NumberText::format(*waterDepthM));
    }
    if (probeLengthM && !(*probeLengthM > 0.0)) {
        return QStringLiteral("probe length %1 m is not above 0")
            .arg(NumberText::format(*probeLengthM));
    }
    if (topThermistorDepthM && *topThermistorDepthM < 0.0) {
        return QStringLiteral("depth of the top thermistor below the sea floor %1 m is negative")
            .arg(NumberText::format(*topThermistorDepthM));
    }
    if (penetrationNumber && *penetrationNumber < 1) {
        return QStringLiteral("penetration number %1 is not 1 or more").arg(*penetrationNumber);
    }
    return {};
}

bool StationDescription::isEmpty() const {
    return toJson().isEmpty();
}

StationDescription StationDescription::inheritedBy(const StationDescription& over) const {
    StationDescription d = *this;
    auto take = [](auto& into, const auto& from) {
        if (from) {
            into = from;
        }
    };
    auto takeText = [](std::optional<QString>& into, const std::optional<QString>& from) {
        if (entered(from)) {
            into = from;
        }
    };
    takeText(d.cruise, over.cruise);
    takeText(d.station, over.station);
    d.penetrationNumber = over.penetrationNumber;
    take(d.latitudeDeg, over.latitudeDeg);
    take(d.longitudeDeg, over.longitudeDeg);
    take(d.waterDepthM, over.waterDepthM);
    takeText(d.probeType, over.probeType);
    take(d.probeLengthM, over.probeLengthM);
    take(d.topThermistorDepthM, over.topThermistorDepthM);
    takeText(d.comment, over.comment);
    for (auto it = over.otherKeys.begin(); it != over.otherKeys.end(); ++it) {
        d.otherKeys.insert(it.key(), it.value());
    }
    return d;
}

QJsonObject StationDescription::toJson() const {
    QJsonObject o = otherKeys;
    auto text = [&](const QString& key, const std::optional<QString>& value) {
        if (entered(value)) {
            o.insert(key, *value);
        }
    };
    auto number = [&](const QString& key, const std::optional<double>& value) {
        if (value) {
            o.insert(key, *value);
        }
    };
    text(kCruise, cruise);
    text(kStation, station);
    if (penetrationNumber) {
        o.insert(kPenetrationNumber, *penetrationNumber);
    }
    number(kLatitude, latitudeDeg);
    number(kLongitude, longitudeDeg);
    number(kWaterDepth, waterDepthM);
    text(kProbeType, probeType);
    number(kProbeLength, probeLengthM);
    number(kTopDepth, topThermistorDepthM);
    text(kComment, comment);
    return o;
}

std::optional<StationDescription> StationDescription::fromJson(const QJsonObject& object,
                                                               QString& error) {
    StationDescription d;
    d.otherKeys = object;
    bool ok = true;
    // null and absent both mean "not entered".
    auto text = [&](const QString& key, std::optional<QString>& into) {
        const QJsonValue v = object.value(key);
        d.otherKeys.remove(key);
        if (v.isString()) {
            if (!v.toString().trimmed().isEmpty()) {
                into = v.toString();
            }
        } else if (!v.isNull() && !v.isUndefined() && ok) {
            error = QStringLiteral("\"%1\" must be text").arg(key);
            ok = false;
        }
    };
    auto number = [&](const QString& key, std::optional<double>& into) {
        const QJsonValue v = object.value(key);
        d.otherKeys.remove(key);
        if (v.isDouble()) {
            into = v.toDouble();
        } else if (!v.isNull() && !v.isUndefined() && ok) {
            error = QStringLiteral("\"%1\" must be a number").arg(key);
            ok = false;
        }
    };
    text(kCruise, d.cruise);
    text(kStation, d.station);
    std::optional<double> penetration;
    number(kPenetrationNumber, penetration);
    if (ok && penetration) {
        if (*penetration != std::trunc(*penetration) || std::abs(*penetration) > 1e9) {
            error = QStringLiteral("\"%1\" must be a whole number").arg(kPenetrationNumber);
            ok = false;
        } else {
            d.penetrationNumber = static_cast<int>(*penetration);
        }
    }
    number(kLatitude, d.latitudeDeg);
    number(kLongitude, d.longitudeDeg);
    number(kWaterDepth, d.waterDepthM);
    text(kProbeType, d.probeType);
    number(kProbeLength, d.probeLengthM);
    number(kTopDepth, d.topThermistorDepthM);
    text(kComment, d.comment);
    if (!ok) {
        return std::nullopt;
    }
    error = d.problem();
    if (!error.isEmpty()) {
        return std::nullopt;
    }
    return d;
}

} // namespace quorvane::station
