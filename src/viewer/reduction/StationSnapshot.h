#pragma once

#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"
#include "station/StationDescription.h"

#include <QJsonObject>

#include <memory>
#include <optional>
#include <utility>

namespace quorvane {

// One penetration as the report and the cruise table take it: its results, what the
// operator told about it, and where its records lie in the run.
struct StationSnapshot {
    analysis::ReductionResults results;
    station::StationDescription description;
    // The penetration's records (UTC seconds), when the run holds more than this penetration.
    std::optional<std::pair<double, double>> spanS;
    // The records the penetration was reduced from, for its fit plots, and its whole run, for
    // the run's plot (the same when the run is one penetration); either may be null.
    std::shared_ptr<const analysis::StationRecords> records;
    std::shared_ptr<const analysis::StationRecords> run;

    // The results JSON as --analyze prints it, with the description as "station".
    QJsonObject json() const;
};

} // namespace quorvane
