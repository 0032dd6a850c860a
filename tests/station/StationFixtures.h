#pragma once

#include "station/StationDescription.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace quorvane::station::testing {

// One penetration's results as `--analyze` prints them, with round numbers to check against.
inline QJsonObject knownResults() {
    const char* json = R"({
      "file": "run1.log", "run": 1, "penetration": 2, "station_index": 2,
      "penetration_utc": "2026-12-08T13:00:05Z", "penetration_seen": true,
      "bottom_water_c": 2.1234, "tilt_deg": 10,
      "sensors": [
        {"name": "TTop", "depth_m": 0.0, "k_method": "pulse-F", "excluded": []},
        {"name": "T2", "depth_m": 0.5, "k_method": "pulse-F", "excluded": []},
        {"name": "T3", "depth_m": 1.0, "k_method": "pulse-F", "excluded": []},
        {"name": "T4", "depth_m": 1.5, "k_method": "pulse-F", "excluded": []},
        {"name": "TBot", "depth_m": 2.0, "k_method": "pulse-F", "excluded": ["gradient"]}
      ],
      "gradient_k_per_m": 0.064123, "gradient_err_k_per_m": 0.0012,
      "mean_k_w_per_m_k": 1.052, "mean_k_err_w_per_m_k": 0.006,
      "heat_flow_mw_per_m2": 67.4, "heat_flow_err_mw_per_m2": 1.9,
      "heat_flow_bullard_mw_per_m2": 67.2, "heat_flow_bullard_err_mw_per_m2": 2.0,
      "relative_uncertainty": 0.028, "quality": "excellent", "quality_cap": null,
      "gradient_sensors": ["TTop", "T2", "T3", "T4"],
      "k_sensors": ["TTop", "T2", "T3", "T4", "TBot"],
      "probe": {"serial": "0417", "sensor_depths_m": [0.0, 0.5, 1.0, 1.5, 2.0],
                "heater_w_per_m_per_level": 0.25, "radius_m": 0.00476, "alpha": 2.0,
                "tilt_deg": 10},
      "flags": ["thermistor stuck"]
    })";
    return QJsonDocument::fromJson(json).object();
}

inline StationDescription knownDescription() {
    StationDescription d;
    d.cruise = QStringLiteral("SO-280");
    d.station = QStringLiteral("HF-12");
    d.latitudeDeg = -23.5;
    d.longitudeDeg = 170.25;
    d.waterDepthM = 3512.5;
    d.probeType = QStringLiteral("Violin-Bow probe (Lister)");
    d.probeLengthM = 6.0;
    d.topThermistorDepthM = 0.8;
    d.comment = QStringLiteral("soft mud, ship drifting");
    return d;
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

// Everything in a folder, hidden files too.
inline QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace quorvane::station::testing
