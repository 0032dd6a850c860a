#pragma once

#include <QString>
#include <QStringList>

namespace quorvane::station {

// The cruise table's column names, in the order a new table has them. Units are in the
// names; numbers have a decimal point whatever the locale.
struct CruiseColumns {
    // The key: one row per cruise, station and penetration.
    static inline const QString cruise = QStringLiteral("cruise");
    static inline const QString station = QStringLiteral("station");
    static inline const QString penetration = QStringLiteral("penetration");
    static inline const QString utc = QStringLiteral("utc"); // the penetration's time
    static inline const QString latitude = QStringLiteral("latitude_deg");
    static inline const QString longitude = QStringLiteral("longitude_deg");
    static inline const QString waterDepth = QStringLiteral("water_depth_m");
    static inline const QString bottomWater = QStringLiteral("bottom_water_c");
    static inline const QString gradient = QStringLiteral("gradient_k_per_km");
    static inline const QString gradientErr = QStringLiteral("gradient_err_k_per_km");
    static inline const QString meanK = QStringLiteral("mean_k_w_per_m_k");
    static inline const QString meanKErr = QStringLiteral("mean_k_err_w_per_m_k");
    static inline const QString heatFlow = QStringLiteral("heat_flow_mw_per_m2");
    static inline const QString heatFlowErr = QStringLiteral("heat_flow_err_mw_per_m2");
    static inline const QString heatFlowBullard = QStringLiteral("heat_flow_bullard_mw_per_m2");
    static inline const QString heatFlowBullardErr =
        QStringLiteral("heat_flow_bullard_err_mw_per_m2");
    static inline const QString relativeUncertainty = QStringLiteral("relative_uncertainty");
    static inline const QString quality = QStringLiteral("quality");
    static inline const QString gradientSensors = QStringLiteral("gradient_sensors");
    static inline const QString gradientSensorCount = QStringLiteral("gradient_sensor_count");
    static inline const QString kSensors = QStringLiteral("k_sensors");
    static inline const QString kSensorCount = QStringLiteral("k_sensor_count");
    static inline const QString kMethods = QStringLiteral("k_methods");
    static inline const QString tilt = QStringLiteral("tilt_deg");
    static inline const QString probeType = QStringLiteral("probe_type");
    static inline const QString probeLength = QStringLiteral("probe_length_m");
    static inline const QString topThermistorDepth = QStringLiteral("top_thermistor_depth_m");
    static inline const QString bottomThermistorDepth = QStringLiteral("bottom_thermistor_depth_m");
    static inline const QString probeSerial = QStringLiteral("probe_serial");
    static inline const QString run = QStringLiteral("run");
    static inline const QString stationIndex = QStringLiteral("station_index");
    static inline const QString flags = QStringLiteral("flags");
    static inline const QString comment = QStringLiteral("comment");
    static inline const QString dataFile = QStringLiteral("data_file");
    static inline const QString reportFile = QStringLiteral("report_file");

    static const QStringList& all() {
        static const QStringList columns = {cruise,
                                            station,
                                            penetration,
                                            utc,
                                            latitude,
                                            longitude,
                                            waterDepth,
                                            bottomWater,
                                            gradient,
                                            gradientErr,
                                            meanK,
                                            meanKErr,
                                            heatFlow,
                                            heatFlowErr,
                                            heatFlowBullard,
                                            heatFlowBullardErr,
                                            relativeUncertainty,
                                            quality,
                                            gradientSensors,
                                            gradientSensorCount,
                                            kSensors,
                                            kSensorCount,
                                            kMethods,
                                            tilt,
                                            probeType,
                                            probeLength,
                                            topThermistorDepth,
                                            bottomThermistorDepth,
                                            probeSerial,
                                            run,
                                            stationIndex,
                                            flags,
                                            comment,
                                            dataFile,
                                            reportFile};
        return columns;
    }
};

} // namespace quorvane::station
