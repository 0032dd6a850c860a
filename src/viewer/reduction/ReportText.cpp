#include "viewer/reduction/ReportText.h"

#include "viewer/reduction/ProfilePoints.h"
#include "viewer/reduction/ResultsText.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QLocale>

#include <cmath>
#include <map>

namespace quorvane {

namespace {

const QString kSep = QStringLiteral(" · ");

QString dash() {
    return QString::fromUtf8(ResultsText::kDash);
}

QString milli(std::optional<double> valueC) {
    if (!valueC || !std::isfinite(*valueC)) {
        return dash();
    }
    // Two significant digits, as the JSON gives misfits.
    const double mk = *valueC * 1000.0;
    return QString::number(mk, 'g', 2);
}

QString names(const QStringList& list) {
    return list.isEmpty() ? QStringLiteral("none") : list.join(QLatin1Char(' '));
}

// The windows of one kind, those the thermistors share first, each with the thermistors that
// used it when they differ.
QStringList windowLines(const analysis::ReductionResults& r,
                        std::optional<analysis::FitWindow> analysis::SensorResult::*member,
                        const QString& what, double origin, const QString& from) {
    std::map<std::pair<double, double>, std::pair<QStringList, int>> byWindow;
    for (const analysis::SensorResult& s : r.sensors) {
        if (const auto& w = s.*member) {
            auto& entry = byWindow[{w->fromS, w->toS}];
            entry.first << s.name;
            entry.second = std::max(entry.second, w->records);
        }
    }
    QStringList out;
    for (const auto& [window, users] : byWindow) {
        QString line = QStringLiteral("%1: %2 to %3 s after %4 (%5 to %6), %7 records")
                           .arg(what, ReportText::number(window.first - origin),
                                ReportText::number(window.second - origin), from,
                                ResultsText::utc(window.first), ResultsText::utc(window.second))
                           .arg(users.second);
        if (byWindow.size() > 1 || users.first.size() < static_cast<int>(r.sensors.size())) {
            line += QStringLiteral(" [") + users.first.join(QLatin1Char(' ')) + QLatin1Char(']');
        }
        out << line;
    }
    return out;
}

} // namespace

ReportText::ReportText(const StationSnapshot& station, QString profileSource)
    : m_station(station), m_json(station.json()), m_profileSource(std::move(profileSource)) {}

QString ReportText::number(double value) {
    if (!std::isfinite(value)) {
        return dash();
    }
    // The shortest text that reads back as the same double, as the JSON writer gives it,
    // but without an exponent for small errors: 0.00008, not 8e-05.
    const QString shortest =
        QString::number(value == 0.0 ? 0.0 : value, 'g', QLocale::FloatingPointShortest);
    if (!shortest.contains(QLatin1Char('e')) || std::abs(value) >= 1.0 || std::abs(value) < 1e-9) {
        return shortest;
    }
    const QString mantissa = shortest.section(QLatin1Char('e'), 0, 0);
    const int exponent = shortest.section(QLatin1Char('e'), 1).toInt();
    qsizetype digits = 0;
    for (const QChar c : mantissa) {
        digits += c.isDigit() ? 1 : 0;
    }
    return QString::number(value, 'f', static_cast<int>(digits) - 1 - exponent);
}

QString ReportText::number(const QJsonValue& value) {
    return value.isDouble() ? number(value.toDouble()) : dash();
}

QString ReportText::withError(const QJsonValue& value, const QJsonValue& error) {
    if (!value.isDouble()) {
        return dash();
    }
    if (!error.isDouble()) {
        return number(value);
    }
    return number(value) + QStringLiteral(" ± ") + number(error);
}

QString ReportText::title() const {
    const station::StationDescription& d = m_station.description;
    QStringList parts;
    if (d.cruise) {
        parts << *d.cruise;
    }
    if (d.station) {
        parts << *d.station;
    }
    QString title = parts.isEmpty() ? QFileInfo(results().file).fileName() : parts.join(' ');
    if (d.penetrationNumber) {
        title += QStringLiteral(", penetration %1").arg(*d.penetrationNumber);
    } else if (results().stationIndex > 0) {
        title += QStringLiteral(", penetration %1 of the file").arg(results().stationIndex);
    }
    return title;
}

QString ReportText::description() const {
    const station::StationDescription& d = m_station.description;
    if (d.isEmpty()) {
        return QStringLiteral("Station description: none entered.");
    }
    QStringList parts;
    const auto add = [&](const QString& name, const auto& value, const QString& unit = {}) {
        if (value) {
            parts << name + QLatin1Char(' ') + number(static_cast<double>(*value)) + unit;
        }
    };
    if (d.cruise) {
        parts << QStringLiteral("cruise ") + *d.cruise;
    }
    if (d.station) {
        parts << QStringLiteral("station ") + *d.station;
    }
    if (d.penetrationNumber) {
        parts << QStringLiteral("penetration number %1").arg(*d.penetrationNumber);
    }
    add(QStringLiteral("latitude"), d.latitudeDeg, QStringLiteral("°"));
    add(QStringLiteral("longitude"), d.longitudeDeg, QStringLiteral("°"));
    add(QStringLiteral("water depth"), d.waterDepthM, QStringLiteral(" m"));
    if (d.probeType) {
        parts << QStringLiteral("probe type ") + *d.probeType;
    }
    add(QStringLiteral("probe length"), d.probeLengthM, QStringLiteral(" m"));
    add(QStringLiteral("top thermistor"), d.topThermistorDepthM,
        QStringLiteral(" m below the sea floor"));
    if (d.comment) {
        parts << QStringLiteral("comment: ") + *d.comment;
    }
    return QStringLiteral("Station description: ") + parts.join(kSep);
}

QString ReportText::probe() const {
    if (!results().probe) {
        return QStringLiteral("Probe profile: none");
    }
    const analysis::ProbeProfile& p = *results().probe;
    QStringList depths;
    for (double z : p.sensorDepthsM) {
        depths << number(z);
    }
    QStringList parts;
    parts << (p.isDefault ? QStringLiteral("Default probe profile")
                          : QStringLiteral("Probe %1").arg(p.serial));
    if (!m_profileSource.isEmpty()) {
        parts.back() += QStringLiteral(" (") + m_profileSource + QLatin1Char(')');
    }
    parts << QStringLiteral("thermistors at %1 m along the probe (TTop to TBot)")
                 .arg(depths.join(QStringLiteral(", ")));
    parts << QStringLiteral("heater %1 W/m per level").arg(number(p.heaterWPerMPerLevel));
    parts << QStringLiteral("radius %1 m").arg(number(p.radiusM));
    parts << QStringLiteral("alpha %1").arg(number(p.alpha));
    parts << (p.tiltEntered ? QStringLiteral("tilt %1°").arg(number(p.tiltDeg))
                            : QStringLiteral("tilt not measured: vertical assumed"));
    parts << QStringLiteral("heater calibration uncertainty ") +
                 (p.heaterCalibrationUncertainty
                      ? number(*p.heaterCalibrationUncertainty * 100.0) + QStringLiteral(" %")
                      : QStringLiteral("not given"));
    parts << QStringLiteral("depth uncertainty ") +
                 (p.depthUncertaintyM ? number(*p.depthUncertaintyM) + QStringLiteral(" m")
                                      : QStringLiteral("not given"));
    return parts.join(kSep);
}

QString ReportText::penetration() const {
    const analysis::ReductionResults& r = results();
    QStringList parts;
    if (r.run > 0) {
        parts << QStringLiteral("Run %1, penetration %2 (penetration %3 of the file)")
                     .arg(r.run)
                     .arg(r.penetration)
                     .arg(r.stationIndex);
    } else {
        parts << QStringLiteral("Penetration");
    }
    parts << QStringLiteral("t_p ") + ResultsText::penetration(r);
    parts << QStringLiteral("bottom water ") +
                 number(m_json.value(QStringLiteral("bottom_water_c"))) + QStringLiteral(" °C");
    parts << QStringLiteral("%1 records, %2 bad lines, log interval %3 s")
                 .arg(r.records)
                 .arg(r.badLines)
                 .arg(number(r.logIntervalS));
    return parts.join(kSep);
}

QString ReportText::heater() const {
    const analysis::ReductionResults& r = results();
    if (!r.heater.onS) {
        return QStringLiteral("Heater: not seen");
    }
    const QJsonObject h = m_json.value(QStringLiteral("heater")).toObject();
    QString text = QStringLiteral("Heater: on ") + ResultsText::utc(r.heater.onS);
    if (r.heater.offS) {
        text += QStringLiteral(", off ") + ResultsText::utc(r.heater.offS) +
                QStringLiteral(" (%1 s, %2)")
                    .arg(number(*r.heater.offS - *r.heater.onS),
                         r.heater.pulse ? QStringLiteral("a pulse") : QStringLiteral("a heating"));
    } else {
        text += QStringLiteral(", still on at the last record");
    }
    text += QStringLiteral(", level %1, q %2 W/m")
                .arg(r.heater.level)
                .arg(number(h.value(QStringLiteral("q_w_per_m"))));
    return text;
}

QStringList ReportText::windows() const {
    const analysis::ReductionResults& r = results();
    QStringList out;
    if (r.penetrationS) {
        out << windowLines(r, &analysis::SensorResult::decayWindow, QStringLiteral("Decay fit"),
                           *r.penetrationS, QStringLiteral("t_p"));
    }
    if (r.heater.onS) {
        if (r.heater.pulse && r.heater.offS) {
            const double middle = (*r.heater.onS + *r.heater.offS) / 2.0;
            out << windowLines(r, &analysis::SensorResult::kWindow, QStringLiteral("Pulse fit"),
                               middle, QStringLiteral("the pulse's middle"));
        } else {
            out << windowLines(r, &analysis::SensorResult::kWindow, QStringLiteral("Heating fit"),
                               *r.heater.onS, QStringLiteral("t_on"));
        }
        if (r.heater.offS) {
            out << windowLines(r, &analysis::SensorResult::coolingWindow,
                               QStringLiteral("Cooling fit"), *r.heater.offS,
                               QStringLiteral("t_off"));
        }
    }
    if (out.isEmpty()) {
        out << QStringLiteral("Fit windows: none");
    }
    return out;
}

QString ReportText::calibration() const {
    const analysis::ReductionResults& r = results();
    if (!r.calibrationOffsetsC) {
        return QStringLiteral("Calibration against the bottom water: not used");
    }
    QStringList parts;
    const QJsonArray offsets = m_json.value(QStringLiteral("calibration_offsets_c")).toArray();
    for (std::size_t i = 0; i < r.sensors.size(); ++i) {
        parts << r.sensors[i].name + QLatin1Char(' ') +
                     number(offsets.at(static_cast<qsizetype>(i))) + QStringLiteral(" °C");
    }
    return QStringLiteral("Calibration against the bottom water, offsets taken off: ") +
           parts.join(QStringLiteral(", "));
}

QString ReportText::exclusions() const {
    QStringList parts;
    for (const analysis::SensorResult& s : results().sensors) {
        if (s.excluded.isEmpty()) {
            continue;
        }
        QString part = s.name + QStringLiteral(" from ") + s.excluded.join(QStringLiteral(" and "));
        part += s.excludedReason.isEmpty()
                    ? QStringLiteral(" (no reason given)")
                    : QStringLiteral(" (") + s.excludedReason + QLatin1Char(')');
        parts << part;
    }
    return QStringLiteral("Left out by the operator: ") +
           (parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral("; ")));
}

QString ReportText::uncertainty() const {
    const analysis::ReductionResults& r = results();
    return QStringLiteral("Gradient from %1; mean k from %2; errors include %3")
        .arg(names(r.gradientSensorNames), names(r.kSensorNames),
             r.uncertaintyIncludes.isEmpty() ? QStringLiteral("the fits")
                                             : r.uncertaintyIncludes.join(QStringLiteral(", ")));
}

QStringList ReportText::sensorHeads() {
    return {QStringLiteral("Thermistor"), QStringLiteral("z m"),    QStringLiteral("z·cos θ"),
            QStringLiteral("T_eq °C"),    QStringLiteral("decay"),  QStringLiteral("δ s"),
            QStringLiteral("n"),          QStringLiteral("RMS mK"), QStringLiteral("k W/(m K)"),
            QStringLiteral("k from"),     QStringLiteral("n"),      QStringLiteral("RMS mK"),
            QStringLiteral("k cooling")};
}

QList<QStringList> ReportText::sensorRows() const {
    QList<QStringList> rows;
    const QJsonArray sensors = m_json.value(QStringLiteral("sensors")).toArray();
    for (std::size_t i = 0; i < results().sensors.size(); ++i) {
        const analysis::SensorResult& s = results().sensors[i];
        const QJsonObject o = sensors.at(static_cast<qsizetype>(i)).toObject();
        const auto text = [&](const QString& key) {
            const QString t = o.value(key).toString();
            return t.isEmpty() ? dash() : t;
        };
        rows << QStringList{
            s.name,
            number(o.value(QStringLiteral("depth_m"))),
            QString::number(ProfilePoints::verticalDepth(results(), i), 'f', 3),
            withError(o.value(QStringLiteral("t_eq_c")), o.value(QStringLiteral("t_eq_err_c"))),
            text(QStringLiteral("decay_method")),
            number(o.value(QStringLiteral("decay_delay_s"))),
            QString::number(s.recordsDecay),
            milli(s.decayRmsC),
            withError(o.value(QStringLiteral("k_w_per_m_k")),
                      o.value(QStringLiteral("k_err_w_per_m_k"))),
            text(QStringLiteral("k_method")),
            s.kWindow ? QString::number(s.kWindow->records) : dash(),
            milli(s.kRmsC),
            number(o.value(QStringLiteral("k_cooling_w_per_m_k")))};
    }
    return rows;
}

QList<QPair<QString, QString>> ReportText::resultRows() const {
    const QJsonObject& j = m_json;
    const auto v = [&](const char* key) { return j.value(QLatin1String(key)); };
    QString quality = v("quality").isString() ? v("quality").toString() : dash();
    if (v("quality_cap").isString()) {
        quality += QStringLiteral(" (") + v("quality_cap").toString() + QLatin1Char(')');
    }
    QString relative = dash();
    if (v("relative_uncertainty").isDouble()) {
        relative = number(v("relative_uncertainty")) + QStringLiteral(" (σ_Q/Q)");
    }
    return {
        {QStringLiteral("Gradient"),
         withError(v("gradient_k_per_m"), v("gradient_err_k_per_m")) + QStringLiteral(" K/m")},
        {QStringLiteral("Mean k (harmonic)"),
         withError(v("mean_k_w_per_m_k"), v("mean_k_err_w_per_m_k")) + QStringLiteral(" W/(m K)")},
        {QStringLiteral("Heat flow (interval)"),
         withError(v("heat_flow_mw_per_m2"), v("heat_flow_err_mw_per_m2")) +
             QStringLiteral(" mW/m²")},
        {QStringLiteral("Heat flow (Bullard)"),
         withError(v("heat_flow_bullard_mw_per_m2"), v("heat_flow_bullard_err_mw_per_m2")) +
             QStringLiteral(" mW/m²")},
        {QStringLiteral("Relative uncertainty"), relative},
        {QStringLiteral("Quality"), quality},
    };
}

QStringList ReportText::flags() const {
    QStringList out = ResultsText::reasons(results());
    if (!results().qualityCap.isEmpty()) {
        out << QStringLiteral("quality ") + results().qualityCap;
    }
    return out;
}

} // namespace quorvane
