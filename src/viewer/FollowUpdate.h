#pragma once

#include "datafile/BadLine.h"
#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"

#include <QtGlobal>
#include <string>
#include <vector>

namespace quorvane {

// What one read of a followed data log file brought.
struct FollowUpdate {
    bool restarted = false;      // everything shown before is gone: the file started over
    bool opened = false;         // ... because it was opened, not because it was written anew
    bool headersChanged = false; // `headers` holds all header blocks read so far
    std::vector<LogHeader> headers;
    std::vector<LogRecord> records; // new records, in file order
    std::vector<BadLine> badLines;  // new bad lines (the first ones of the file only)
    qint64 recordCount = 0;         // of the whole file
    qint64 badLineCount = 0;
    qint64 lineCount = 0;     // whole lines read
    bool dataLogFile = false; // a record or a header line was read (DataFileParser)
    qint64 bytesRead = 0;
    qint64 fileSize = 0;
    bool more = false;   // the rest is read at the next poll
    std::string problem; // the file is missing or cannot be read ("" when it can)
};

} // namespace quorvane
