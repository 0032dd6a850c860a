#include "viewer/CsvExport.h"

#include "datafile/PlainNumbers.h"
#include "datafile/UtcStamp.h"

#include <QSaveFile>

namespace quorvane {

const char* CsvExport::header() {
    return "time_utc,seconds,t_ttop,t_t2,t_t3,t_t4,t_tbot,heater";
}

std::string CsvExport::text(const RunSeries& series, double fromUtc, double toUtc) {
    std::string out = header();
    out += '\n';
    const double first = series.firstTime().value_or(0);
    series.forEachRecord(fromUtc, toUtc, [&](int i) {
        const double key = series.keyAt(i);
        out += isoUtc(static_cast<qint64>(key));
        out += ',';
        out += formatFixed(key - first, 0);
        for (int c = 0; c < RunSeries::kChannels; ++c) {
            out += ',';
            out += formatFixed(series.temperatureAt(c, i), 3);
        }
        out += ',';
        out += std::to_string(series.heaterAt(key));
        out += '\n';
    });
    return out;
}

bool CsvExport::write(const RunSeries& series, double fromUtc, double toUtc, const QString& path,
                      QString* error) {
    QSaveFile file(path);
    const std::string csv = text(series, fromUtc, toUtc);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(csv.data(), static_cast<qint64>(csv.size())) !=
            static_cast<qint64>(csv.size()) ||
        !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

} // namespace quorvane
