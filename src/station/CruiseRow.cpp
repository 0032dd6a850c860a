#include "station/CruiseRow.h"

#include "station/CruiseColumns.h"
#include "station/NumberText.h"

#include <QFileInfo>
#include <QJsonArray>

#include <cmath>
#include <numbers>

namespace quorvane::station {

namespace {

using C = CruiseColumns;

QString numberCell(const QJsonValue& v, double scale = 1.0) {
    return v.isDouble() ? NumberText::format(v.toDouble() * scale) : QString();
}

QString numberCell(const std::optional<double>& v) {
    return v ? NumberText::format(*v) : QString();
}

QString textCell(const std::optional<QString>& v) {
    return v ? v->trimmed() : QString();
}

QStringList strings(const QJsonValue& v) {
    QStringList list;
    for (const QJsonValue& s : v.toArray()) {
        list << s.toString();
    }
    return list;
}

// The k methods of the thermistors used for k, each once, top first.
QString kMethods(const QJsonObject& results, const QStringList& kSensors) {
    QStringList methods;
    for (const QJsonValue& s : results.value(QStringLiteral("sensors")).toArray()) {
        const QJsonObject sensor = s.toObject();
        const QString method = sensor.value(QStringLiteral("k_method")).toString();
        if (kSensors.contains(sensor.value(QStringLiteral("name")).toString()) &&
            !method.isEmpty() && !methods.contains(method)) {
            methods << method;
        }
    }
    return methods.join(QLatin1Char(' '));
}

// The vertical depth of the lowest thermistor below the sea floor: the top one's, plus the
// span of the probe's thermistors along it, tilted.
std::optional<double> bottomThermistorDepth(const QJsonObject& results,
                                            const StationDescription& d) {
    if (!d.topThermistorDepthM) {
        return std::nullopt;
    }
    QJsonArray depths = results.value(QStringLiteral("probe"))
                            .toObject()
                            .value(QStringLiteral("sensor_depths_m"))
                            .toArray();
    if (depths.isEmpty()) {
        for (const QJsonValue& s : results.value(QStringLiteral("sensors")).toArray()) {
            depths.append(s.toObject().value(QStringLiteral("depth_m")));
        }
    }
    if (depths.size() < 2 || !depths.first().isDouble() || !depths.last().isDouble()) {
        return std::nullopt;
    }
    const double span = depths.last().toDouble() - depths.first().toDouble();
    const QJsonValue tilt = results.value(QStringLiteral("tilt_deg"));
    const double cosTilt =
        tilt.isDouble() ? std::cos(tilt.toDouble() * std::numbers::pi / 180.0) : 1.0;
    // Millimetres are all a depth below the sea floor can tell.
    return std::round((*d.topThermistorDepthM + span * cosTilt) * 1000.0) / 1000.0;
}

} // namespace

CruiseRow CruiseRow::fromResults(const QJsonObject& r, const StationDescription& d,
                                 const QString& dataFilePath, const QString& reportPath) {
    CruiseRow row;
    auto value = [&](const char* key) { return r.value(QLatin1String(key)); };
    row.set(C::cruise, textCell(d.cruise));
    row.set(C::station, textCell(d.station));
    if (d.penetrationNumber) {
        row.set(C::penetration, QString::number(*d.penetrationNumber));
    } else {
        row.set(C::penetration, numberCell(value("station_index")));
    }
    row.set(C::utc, value("penetration_utc").toString());
    row.set(C::latitude, numberCell(d.latitudeDeg));
    row.set(C::longitude, numberCell(d.longitudeDeg));
    row.set(C::waterDepth, numberCell(d.waterDepthM));
    row.set(C::bottomWater, numberCell(value("bottom_water_c")));
    row.set(C::gradient, numberCell(value("gradient_k_per_m"), 1000.0));
    row.set(C::gradientErr, numberCell(value("gradient_err_k_per_m"), 1000.0));
    row.set(C::meanK, numberCell(value("mean_k_w_per_m_k")));
    row.set(C::meanKErr, numberCell(value("mean_k_err_w_per_m_k")));
    row.set(C::heatFlow, numberCell(value("heat_flow_mw_per_m2")));
    row.set(C::heatFlowErr, numberCell(value("heat_flow_err_mw_per_m2")));
    row.set(C::heatFlowBullard, numberCell(value("heat_flow_bullard_mw_per_m2")));
    row.set(C::heatFlowBullardErr, numberCell(value("heat_flow_bullard_err_mw_per_m2")));
    row.set(C::relativeUncertainty, numberCell(value("relative_uncertainty")));
    row.set(C::quality, value("quality").toString());
    const QStringList gradientSensors = strings(value("gradient_sensors"));
    const QStringList kSensors = strings(value("k_sensors"));
    row.set(C::gradientSensors, gradientSensors.join(QLatin1Char(' ')));
    row.set(C::kSensors, kSensors.join(QLatin1Char(' ')));
    if (value("gradient_sensors").isArray()) {
        row.set(C::gradientSensorCount, QString::number(gradientSensors.size()));
    }
    if (value("k_sensors").isArray()) {
        row.set(C::kSensorCount, QString::number(kSensors.size()));
    }
    row.set(C::kMethods, kMethods(r, kSensors));
    row.set(C::tilt, numberCell(value("tilt_deg")));
    row.set(C::probeType, textCell(d.probeType));
    row.set(C::probeLength, numberCell(d.probeLengthM));
    row.set(C::topThermistorDepth, numberCell(d.topThermistorDepthM));
    row.set(C::bottomThermistorDepth, numberCell(bottomThermistorDepth(r, d)));
    row.set(C::probeSerial, value("probe").toObject().value(QStringLiteral("serial")).toString());
    row.set(C::run, numberCell(value("run")));
    row.set(C::stationIndex, numberCell(value("station_index")));
    QStringList flags = strings(value("flags"));
    if (value("quality_cap").isString()) {
        flags << value("quality_cap").toString();
    }
    row.set(C::flags, flags.join(QStringLiteral("; ")));
    row.set(C::comment, d.comment ? *d.comment : QString());
    row.set(C::dataFile,
            dataFilePath.isEmpty() ? QString() : QFileInfo(dataFilePath).absoluteFilePath());
    row.set(C::reportFile,
            reportPath.isEmpty() ? QString() : QFileInfo(reportPath).absoluteFilePath());
    return row;
}

std::optional<double> CruiseRow::number(const QString& column) const {
    return NumberText::parse(text(column));
}

CruiseRow::Key CruiseRow::key() const {
    return Key{text(C::cruise).trimmed(), text(C::station).trimmed(),
               text(C::penetration).trimmed()};
}

QString CruiseRow::problem() const {
    const Key k = key();
    if (k.station.isEmpty()) {
        return QStringLiteral("the station has no name: enter it in the Station dialog");
    }
    if (k.penetration.isEmpty()) {
        return QStringLiteral("station %1 has no penetration number: enter it in the Station "
                              "dialog")
            .arg(k.station);
    }
    return {};
}

QString CruiseRow::label() const {
    const Key k = key();
    QString text = k.cruise.isEmpty() ? k.station : k.cruise + QLatin1Char(' ') + k.station;
    return text + QStringLiteral(" penetration ") + k.penetration;
}

} // namespace quorvane::station
