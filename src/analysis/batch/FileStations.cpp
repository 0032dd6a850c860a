#include "analysis/batch/FileStations.h"

#include "analysis/Reduction.h"
#include "analysis/ResultsJson.h"
#include "analysis/batch/ChoicesOptions.h"
#include "analysis/batch/DataFileRecords.h"

namespace quorvane::analysis {

QJsonObject FileStations::Reduced::json() const {
    QJsonObject o = ResultsJson::toObject(results);
    if (!description.isEmpty()) {
        o.insert(QStringLiteral("station"), description.toJson());
    }
    return o;
}

std::vector<FileStations::Reduced>
FileStations::reduce(const DataFileContent& content, const QString& fileName,
                     const std::optional<station::StationFile>& stationFile,
                     const ProbeProfile& profile, const Override& given) {
    std::vector<Reduced> out;
    for (Station& s : Stations::of(DataFileRecords::runs(content, fileName))) {
        const station::PenetrationKey key{s.run, s.penetration};
        ReductionOptions options;
        Reduced r;
        if (stationFile) {
            options = ChoicesOptions::toOptions(stationFile->choicesFor(key));
            r.description = stationFile->descriptionFor(key);
        }
        if (given) {
            given(options);
        }
        Reduction reduction(profile, options);
        reduction.setRecords(s.records);
        r.results = reduction.results();
        r.results.run = s.run;
        r.results.penetration = s.penetration;
        r.results.stationIndex = s.index;
        r.station = std::move(s);
        out.push_back(std::move(r));
    }
    return out;
}

} // namespace quorvane::analysis
