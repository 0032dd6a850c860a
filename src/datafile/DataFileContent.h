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
};

} // namespace quorvane
