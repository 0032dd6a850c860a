#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace quorvane::station {

// The operator's choices for one penetration, kept in the station file so that reopening
// the data log file gives the same result. A value left out is the reduction's default.
struct StationChoices {
    // Seconds, as the reduction takes them: the decay window from the penetration, the
    // heating window from the switch-on, the pulse window from the pulse.
    struct Window {
        double fromS = 0.0;
        double toS = 0.0;
        bool operator==(const Window&) const = default;
    };
    enum class Exclusion { None, Gradient, K, Both };
    struct Excluded {
        Exclusion from = Exclusion::None;
        QString reason;
        bool operator==(const Excluded&) const = default;
    };

    std::optional<double> penetrationS; // UTC seconds since 1970
    std::optional<Window> decayWindowS;
    std::optional<Window> heatingWindowS;
    std::optional<Window> pulseWindowS;
    std::map<QString, Excluded> excluded;     // by thermistor name
    QStringList hidden;                       // thermistors hidden in the plot
    std::map<QString, double> enteredKWPerMK; // k the operator entered, by thermistor
    bool calibrateBottomWater = false;
    // Keys this program does not know, kept so that saving does not drop them.
    QJsonObject otherKeys;

    // The probe's thermistors, top first, by the names the results give them.
    static const QStringList& sensorNames();

    // Why a choice cannot be used, in the operator's words; empty when all can.
    QString problem() const;
    // Nothing chosen: the reduction's defaults.
    bool isDefault() const;

    // {"penetration_utc": ISO 8601 UTC, "windows": {"decay_s": [a, b], "heating_s": …,
    //  "pulse_s": …}, "excluded": {"T3": {"from": ["gradient", "k"], "reason": …}},
    //  "hidden": ["T4"], "entered_k_w_per_m_k": {"T3": 1.1}, "calibrate_bottom_water": bool}
    QJsonObject toJson() const;
    static std::optional<StationChoices> fromJson(const QJsonObject& object, QString& error);

    // ISO 8601 UTC with milliseconds when the time is not whole, and back.
    static QString utc(double timeS);
    static std::optional<double> parseUtc(const QString& text);

    bool operator==(const StationChoices&) const = default;
};

} // namespace quorvane::station
