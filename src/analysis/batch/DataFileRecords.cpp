#include "analysis/batch/DataFileRecords.h"

namespace quorvane::analysis {

StationRecords DataFileRecords::station(const DataFileContent& content, const QString& fileName,
                                        QStringList& notes) {
    StationRecords out;
    out.fileName = fileName;
    out.badLines = static_cast<int>(content.badLineCount);
    int block = -1;
    if (!content.headers.empty()) {
        block = static_cast<int>(content.headers.size()) - 1;
        const LogHeader& header = content.headers.back();
        out.serial = QString::fromStdString(header.instrument).trimmed();
        out.logIntervalS = header.logIntervalSeconds.value_or(0.0);
    }
    const bool severalRuns = content.headers.size() > 1;
    if (severalRuns) {
        notes << QStringLiteral("file holds %1 runs: the last one is reduced")
                     .arg(content.headers.size());
    }
    for (const LogRecord& r : content.records) {
        if (!severalRuns || r.headerIndex == block) {
            out.append(static_cast<double>(r.utcSeconds), r.temperatureC, r.heater);
        }
    }
    return out;
}

void DataFileRecords::append(Reduction& reduction, const LogRecord& record) {
    reduction.append(static_cast<double>(record.utcSeconds), record.temperatureC, record.heater);
}

} // namespace quorvane::analysis
