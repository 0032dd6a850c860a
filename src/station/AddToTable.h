#pragma once

#include "station/AtomicFile.h"
#include "station/CruiseRow.h"
#include "station/StationDescription.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace quorvane::station {

// "Add to cruise table" and `--add-to-table`: reads the table (or starts one), puts the rows
// in, replacing those of the same cruise, station and penetration, and writes it whole.
class AddToTable {
public:
    struct Outcome {
        bool ok = false;
        int added = 0;    // rows that were not in the table
        int replaced = 0; // rows that took the place of one with the same key
        QString reason;   // why nothing was written
    };

    static Outcome add(const QString& tablePath, const QList<CruiseRow>& rows,
                       const AtomicFile::Progress& progress = {});
    // One penetration: `results` one object of the results JSON.
    static Outcome add(const QString& tablePath, const QJsonObject& results,
                       const StationDescription& description, const QString& dataFilePath,
                       const QString& reportPath = {});
};

} // namespace quorvane::station
