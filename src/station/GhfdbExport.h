#pragma once

#include "station/CruiseRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane::station {

// Rows of the cruise table as a CSV for the IHFC Global Heat Flow Database: its column names
// for probe-sensing data at the child level, its units (mW/m², K/km, W/(m·K), metres, °C),
// and the U-score. What the program cannot know stays empty.
class GhfdbExport {
public:
    // name, lat_NS, lon_EW, elevation, qc, qc_uncertainty, q_method, probe_penetration,
    // probe_type, probe_length, probe_tilt, water_temperature, expedition, T_grad_mean,
    // T_grad_uncertainty, T_number, tc_mean, tc_uncertainty, tc_source, tc_location,
    // tc_method, tc_number, relevant_child, c_comment, U_score
    static const QStringList& columns();

    // U1 under 5 %, U2 5 to under 15 %, U3 15 to under 25 %, U4 25 % and more; Ux without.
    static QString uScore(std::optional<double> relativeUncertainty);

    // One row's cells in columns() order. A cell that should hold a number and does not is
    // left empty, and named in `warnings`.
    static QStringList cells(const CruiseRow& row, QStringList& warnings);
    static QByteArray csv(const QList<CruiseRow>& rows, QStringList& warnings);
    // Writes the CSV whole or not at all; false with the reason.
    static bool write(const QString& path, const QList<CruiseRow>& rows, QString& error,
                      QStringList& warnings);
};

} // namespace quorvane::station
