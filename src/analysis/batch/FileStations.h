#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/ReductionOptions.h"
#include "analysis/ReductionResults.h"
#include "analysis/Stations.h"
#include "datafile/DataFileContent.h"
#include "station/StationDescription.h"
#include "station/StationFile.h"

#include <QJsonObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane::analysis {

// Every penetration of a data log file reduced on its own, each with the operator's choices
// from the file's station file, and what the operator said on the command line over them.
class FileStations {
public:
    struct Reduced {
        Station station;
        ReductionResults results;
        station::StationDescription description; // empty when none was entered
        // The results JSON, with the description as "station" when there is one.
        QJsonObject json() const;
    };

    // Puts what the command line gave over the station file's choices.
    using Override = std::function<void(ReductionOptions&)>;

    // `stationFile`: the station file read (nullopt: none, or told to ignore it).
    static std::vector<Reduced> reduce(const DataFileContent& content, const QString& fileName,
                                       const std::optional<station::StationFile>& stationFile,
                                       const ProbeProfile& profile, const Override& given);
};

} // namespace quorvane::analysis
