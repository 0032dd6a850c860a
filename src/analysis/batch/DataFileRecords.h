#pragma once

#include "analysis/Reduction.h"
#include "analysis/StationRecords.h"
#include "datafile/DataFileContent.h"

#include <QStringList>

#include <vector>

namespace quorvane::analysis {

// Takes a data log file's records and header into the reduction's own input.
class DataFileRecords {
public:
    // The station in a file: the records after its last header block when it holds more
    // than one run (said in `notes`), else all of them; serial and interval from the header.
    static StationRecords station(const DataFileContent& content, const QString& fileName,
                                  QStringList& notes);
    // Every run of a file, one per header block (records before the first header are a run
    // of their own), each with its own serial and interval.
    static std::vector<StationRecords> runs(const DataFileContent& content,
                                            const QString& fileName);
    // One record as it arrives while a run goes on.
    static void append(Reduction& reduction, const LogRecord& record);
};

} // namespace quorvane::analysis
