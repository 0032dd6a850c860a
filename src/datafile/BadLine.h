#pragma once

#include <QtGlobal>
#include <string>

namespace quorvane {

// A line that is neither a header line nor a readable data line.
struct BadLine {
    qint64 lineNumber = 0; // from 1
    std::string reason;
};

} // namespace quorvane
