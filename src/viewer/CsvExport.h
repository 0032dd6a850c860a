#pragma once

#include "viewer/RunSeries.h"

#include <QString>
#include <string>

namespace quorvane {

// The records of a time range as CSV: UTC time, seconds since the first record, the five
// temperatures and the heater column. Numbers with a point, whatever the locale.
class CsvExport {
public:
    static const char* header();
    static std::string text(const RunSeries& series, double fromUtc, double toUtc);
    // False with the reason when the file cannot be written.
    static bool write(const RunSeries& series, double fromUtc, double toUtc, const QString& path,
                      QString* error = nullptr);
};

} // namespace quorvane
