#pragma once

#include <QtGlobal>
#include <array>

namespace quorvane {

// One data line of a data log file, decoded.
struct LogRecord {
    qint64 utcSeconds = 0; // the line's stamp, seconds since 1970-01-01 00:00:00 UTC
    // Channels TTop, T2, T3, T4, TBot.
    std::array<double, 5> temperatureC{};
    // Whole ohms as the program decodes them; NaN in the Temperature layout.
    std::array<double, 5> resistanceOhms{};
    int heater = 0;        // the heater column: the level while on, 0 while off
    qint64 lineNumber = 0; // from 1
    int headerIndex = -1;  // the header block it follows; -1 before any header
};

} // namespace quorvane
