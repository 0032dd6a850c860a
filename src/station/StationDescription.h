#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace quorvane::station {

// What the operator tells about a station in the Station dialog. Every value is optional.
// As JSON (the station file's "description", the results' "station"): "cruise", "station",
// "penetration_number", "latitude_deg", "longitude_deg", "water_depth_m", "probe_type",
// "probe_length_m", "top_thermistor_depth_m" (below the sea floor), "comment"; a value not
// entered is left out.
struct StationDescription {
    std::optional<QString> cruise;
    std::optional<QString> station;
    std::optional<int> penetrationNumber;
    std::optional<double> latitudeDeg;  // decimal degrees, north positive
    std::optional<double> longitudeDeg; // decimal degrees, east positive
    std::optional<double> waterDepthM;
    std::optional<QString> probeType;
    std::optional<double> probeLengthM;
    std::optional<double> topThermistorDepthM;
    std::optional<QString> comment;
    // Keys this program does not know, kept so that saving does not drop them.
    QJsonObject otherKeys;

    // Why a value cannot be used, in the operator's words; empty when all can.
    QString problem() const;
    bool isEmpty() const;
    // These values with every value `over` holds put in their place, except the penetration
    // number, which is the penetration's own and is never taken from elsewhere.
    StationDescription inheritedBy(const StationDescription& over) const;

    QJsonObject toJson() const;
    // Refuses values of the wrong type and values problem() refuses, with the reason.
    static std::optional<StationDescription> fromJson(const QJsonObject& object, QString& error);

    bool operator==(const StationDescription&) const = default;
};

} // namespace quorvane::station
