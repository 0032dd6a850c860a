#include "analysis/ResultsJson.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>

#include <cmath>

namespace quorvane::analysis {

namespace {

QJsonValue rounded(const std::optional<double>& value, int decimals) {
    if (!value || !std::isfinite(*value)) {
        return QJsonValue::Null;
    }
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(*value * scale) / scale;
    return r == 0.0 ? 0.0 : r; // no "-0"
}

QJsonValue significant(const std::optional<double>& value, int digits) {
    if (!value || !std::isfinite(*value)) {
        return QJsonValue::Null;
    }
    if (*value == 0.0) {
        return 0.0;
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(*value))));
    return rounded(value, digits - 1 - magnitude);
}

QJsonValue time(const std::optional<double>& timeS) {
    return timeS ? QJsonValue(ResultsJson::utc(*timeS)) : QJsonValue(QJsonValue::Null);
}

QJsonValue text(const QString& s) {
    return s.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
}

QJsonValue count(int n) {
    return n > 0 ? QJsonValue(n) : QJsonValue(QJsonValue::Null);
}

QJsonObject sensorObject(const SensorResult& s) {
    QJsonObject o;
    o.insert(QStringLiteral("name"), s.name);
    o.insert(QStringLiteral("depth_m"), s.depthM);
    o.insert(QStringLiteral("records_decay"), s.recordsDecay);
    o.insert(QStringLiteral("decay_method"), text(s.decayMethod));
    o.insert(QStringLiteral("decay_delay_s"), rounded(s.decayDelayS, 1));
    o.insert(QStringLiteral("t_eq_c"), rounded(s.tEqC, 4));
    o.insert(QStringLiteral("t_eq_err_c"), significant(s.tEqErrC, 2));
    o.insert(QStringLiteral("k_w_per_m_k"), rounded(s.kWPerMK, 3));
    o.insert(QStringLiteral("k_err_w_per_m_k"), significant(s.kErrWPerMK, 2));
    o.insert(QStringLiteral("k_method"), text(s.kMethod));
    o.insert(QStringLiteral("k_cooling_w_per_m_k"), rounded(s.kCoolingWPerMK, 3));
    o.insert(QStringLiteral("fit_rms_c"), significant(s.fitRmsC, 2));
    o.insert(QStringLiteral("excluded"), QJsonArray::fromStringList(s.excluded));
    if (!s.excludedReason.isEmpty()) {
        o.insert(QStringLiteral("excluded_reason"), s.excludedReason);
    }
    o.insert(QStringLiteral("flags"), QJsonArray::fromStringList(s.flags));
    return o;
}

} // namespace

QString ResultsJson::utc(double timeS) {
    const auto ms = static_cast<qint64>(std::llround(timeS * 1000.0));
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    return when.toString(ms % 1000 == 0 ? Qt::ISODate : Qt::ISODateWithMs);
}

std::optional<double> ResultsJson::parseUtc(const QString& text) {
    QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid()) {
        return std::nullopt;
    }
    // A time without a zone is taken as UTC, as the records are.
    if (when.timeSpec() == Qt::LocalTime) {
        when.setTimeZone(QTimeZone::utc());
    }
    return static_cast<double>(when.toMSecsSinceEpoch()) / 1000.0;
}

QJsonObject ResultsJson::toObject(const ReductionResults& r) {
    QJsonObject o;
    o.insert(QStringLiteral("run"), count(r.run));
    o.insert(QStringLiteral("penetration"), count(r.penetration));
    o.insert(QStringLiteral("station_index"), count(r.stationIndex));
    o.insert(QStringLiteral("file"), r.file);
    o.insert(QStringLiteral("records"), r.records);
    o.insert(QStringLiteral("bad_lines"), r.badLines);
    o.insert(QStringLiteral("log_interval_s"), r.logIntervalS);
    o.insert(QStringLiteral("penetration_utc"), time(r.penetrationS));
    o.insert(QStringLiteral("penetration_seen"), r.penetrationSeen);
    o.insert(QStringLiteral("bottom_water_c"), rounded(r.bottomWaterC, 4));
    if (r.calibrationOffsetsC) {
        QJsonArray offsets;
        for (double c : *r.calibrationOffsetsC) {
            offsets.append(rounded(c, 4));
        }
        o.insert(QStringLiteral("calibration_offsets_c"), offsets);
    }
    o.insert(QStringLiteral("tilt_deg"), rounded(r.tiltDeg, 2));

    QJsonObject heater;
    heater.insert(QStringLiteral("on_utc"), time(r.heater.onS));
    heater.insert(QStringLiteral("off_utc"), time(r.heater.offS));
    heater.insert(QStringLiteral("level"), r.heater.level);
    heater.insert(QStringLiteral("q_w_per_m"), rounded(r.heater.qWPerM, 4));
    o.insert(QStringLiteral("heater"), heater);

    QJsonArray sensors;
    for (const auto& s : r.sensors) {
        sensors.append(sensorObject(s));
    }
    o.insert(QStringLiteral("sensors"), sensors);
    o.insert(QStringLiteral("gradient_k_per_m"), rounded(r.gradientKPerM, 5));
    o.insert(QStringLiteral("gradient_err_k_per_m"), significant(r.gradientErrKPerM, 2));
    o.insert(QStringLiteral("gradient_sensors"), QJsonArray::fromStringList(r.gradientSensorNames));
    o.insert(QStringLiteral("mean_k_w_per_m_k"), rounded(r.harmonicMeanKWPerMK, 3));
    o.insert(QStringLiteral("mean_k_err_w_per_m_k"), significant(r.harmonicMeanKErrWPerMK, 2));
    o.insert(QStringLiteral("k_sensors"), QJsonArray::fromStringList(r.kSensorNames));
    o.insert(QStringLiteral("heat_flow_mw_per_m2"), rounded(r.heatFlowMWPerM2, 2));
    o.insert(QStringLiteral("heat_flow_err_mw_per_m2"), significant(r.heatFlowErrMWPerM2, 2));
    o.insert(QStringLiteral("heat_flow_bullard_mw_per_m2"), rounded(r.heatFlowBullardMWPerM2, 2));
    o.insert(QStringLiteral("heat_flow_bullard_err_mw_per_m2"),
             significant(r.heatFlowBullardErrMWPerM2, 2));
    o.insert(QStringLiteral("relative_uncertainty"), significant(r.relativeUncertainty, 2));
    o.insert(QStringLiteral("quality"), text(r.quality));
    o.insert(QStringLiteral("quality_cap"), text(r.qualityCap));
    if (r.probe) {
        const ProbeProfile& p = *r.probe;
        QJsonObject probe;
        probe.insert(QStringLiteral("serial"), p.serial);
        QJsonArray depths;
        for (double d : p.sensorDepthsM) {
            depths.append(d);
        }
        probe.insert(QStringLiteral("sensor_depths_m"), depths);
        probe.insert(QStringLiteral("heater_w_per_m_per_level"), p.heaterWPerMPerLevel);
        probe.insert(QStringLiteral("radius_m"), p.radiusM);
        probe.insert(QStringLiteral("alpha"), p.alpha);
        probe.insert(QStringLiteral("tilt_deg"),
                     p.tiltEntered ? QJsonValue(p.tiltDeg) : QJsonValue(QJsonValue::Null));
        probe.insert(QStringLiteral("default"), p.isDefault);
        o.insert(QStringLiteral("probe"), probe);
        QJsonObject uncertainty;
        uncertainty.insert(QStringLiteral("heater_calibration_rel"),
                           p.heaterCalibrationUncertainty
                               ? QJsonValue(*p.heaterCalibrationUncertainty)
                               : QJsonValue(QJsonValue::Null));
        uncertainty.insert(QStringLiteral("depth_m"), p.depthUncertaintyM
                                                          ? QJsonValue(*p.depthUncertaintyM)
                                                          : QJsonValue(QJsonValue::Null));
        uncertainty.insert(QStringLiteral("includes"),
                           QJsonArray::fromStringList(r.uncertaintyIncludes));
        o.insert(QStringLiteral("uncertainty"), uncertainty);
    }
    o.insert(QStringLiteral("flags"), QJsonArray::fromStringList(r.flags));
    return o;
}

namespace {

// QJsonDocument sorts an object's keys; readers compare the output with the documented
// results, so the keys are written in that order.
const QStringList& keyOrder(const QJsonObject& o) {
    static const QStringList station = {"run",
                                        "penetration",
                                        "station_index",
                                        "file",
                                        "records",
                                        "bad_lines",
                                        "log_interval_s",
                                        "penetration_utc",
                                        "penetration_seen",
                                        "bottom_water_c",
                                        "calibration_offsets_c",
                                        "tilt_deg",
                                        "heater",
                                        "sensors",
                                        "gradient_k_per_m",
                                        "gradient_err_k_per_m",
                                        "gradient_sensors",
                                        "mean_k_w_per_m_k",
                                        "mean_k_err_w_per_m_k",
                                        "k_sensors",
                                        "heat_flow_mw_per_m2",
                                        "heat_flow_err_mw_per_m2",
                                        "heat_flow_bullard_mw_per_m2",
                                        "heat_flow_bullard_err_mw_per_m2",
                                        "relative_uncertainty",
                                        "quality",
                                        "quality_cap",
                                        "probe",
                                        "uncertainty",
                                        "station",
                                        "flags"};
    static const QStringList heater = {"on_utc", "off_utc", "level", "q_w_per_m"};
    static const QStringList sensor = {"name",
                                       "depth_m",
                                       "records_decay",
                                       "decay_method",
                                       "decay_delay_s",
                                       "t_eq_c",
                                       "t_eq_err_c",
                                       "k_w_per_m_k",
                                       "k_err_w_per_m_k",
                                       "k_method",
                                       "k_cooling_w_per_m_k",
                                       "fit_rms_c",
                                       "excluded",
                                       "excluded_reason",
                                       "flags"};
    if (o.contains(QStringLiteral("sensors"))) {
        return station;
    }
    return o.contains(QStringLiteral("on_utc")) ? heater : sensor;
}

QByteArray scalar(const QJsonValue& v) {
    // Qt's own number and string writing, without its brackets.
    const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

void write(QByteArray& out, const QJsonValue& v, int depth) {
    const QByteArray pad((depth + 1) * 4, ' ');
    const QByteArray close(depth * 4, ' ');
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        QStringList keys;
        for (const QString& k : keyOrder(o)) {
            if (o.contains(k)) {
                keys << k;
            }
        }
        for (const QString& k : o.keys()) {
            if (!keys.contains(k)) {
                keys << k;
            }
        }
        out += "{\n";
        for (int i = 0; i < keys.size(); ++i) {
            out += pad + scalar(keys[i]) + ": ";
            write(out, o.value(keys[i]), depth + 1);
            out += i + 1 < keys.size() ? ",\n" : "\n";
        }
        out += close + "}";
    } else if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.isEmpty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (int i = 0; i < a.size(); ++i) {
            out += pad;
            write(out, a.at(i), depth + 1);
            out += i + 1 < a.size() ? ",\n" : "\n";
        }
        out += close + "]";
    } else {
        out += scalar(v);
    }
}

} // namespace

QByteArray ResultsJson::toJson(const ReductionResults& results) {
    return toJson(QJsonValue(toObject(results)));
}

QByteArray ResultsJson::toJson(const QJsonValue& value) {
    QByteArray out;
    write(out, value, 0);
    out += '\n';
    return out;
}

} // namespace quorvane::analysis
