#pragma once

#include "datafile/BadLine.h"
#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"

#include <vector>

namespace quorvane {

// A whole data log file as read.
struct DataFileContent {
    std::vector<LogHeader> headers;
    std::vector<LogRecord> records;
    std::vector<BadLine> badLines; // the first DataFileParser::kMaxKeptBadLines
    qint64 badLineCount = 0;
    qint64 lineCount = 0;
    qint64 headerLineCount = 0; // lines as the program's header block writes them

    // At least one line is a record or a header line: a '#' line alone is not enough.
    bool isDataLogFile() const { return !records.empty() || headerLineCount > 0; }
};

} // namespace quorvane
