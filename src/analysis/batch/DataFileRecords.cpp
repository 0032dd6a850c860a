#include "analysis/batch/DataFileRecords.h"

#include <algorithm>

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

std::vector<StationRecords> DataFileRecords::runs(const DataFileContent& content,
                                                  const QString& fileName) {
    // Slot 0 takes records before any header.
    std::vector<StationRecords> out(content.headers.size() + 1);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i].fileName = fileName;
        out[i].badLines = static_cast<int>(content.badLineCount);
        if (i > 0) {
            const LogHeader& header = content.headers[i - 1];
            out[i].serial = QString::fromStdString(header.instrument).trimmed();
            out[i].logIntervalS = header.logIntervalSeconds.value_or(0.0);
        }
    }
    for (const LogRecord& r : content.records) {
        const auto slot = static_cast<std::size_t>(std::max(r.headerIndex, -1) + 1);
        if (slot < out.size()) {
            out[slot].append(static_cast<double>(r.utcSeconds), r.temperatureC, r.heater);
        }
    }
    if (out.front().empty()) {
        out.erase(out.begin());
    } else if (out.size() > 1) {
        // Records before the first header take the next run's instrument.
        out.front().serial = out[1].serial;
        out.front().logIntervalS = out[1].logIntervalS;
    }
    return out;
}

void DataFileRecords::append(Reduction& reduction, const LogRecord& record) {
    reduction.append(static_cast<double>(record.utcSeconds), record.temperatureC, record.heater);
}

} // namespace quorvane::analysis
