#pragma once

#include <iosfwd>

namespace quorvane {

// Turns a data log file into CSV: per data line the UTC time in ISO 8601, the five
// resistances in ohms (empty in the Temperature layout), the five temperatures with three
// decimals and the heater column, read by the shared data log reader. Header lines are
// skipped; the numbers never follow the locale.
class LogFileDecoder {
public:
    struct Result {
        long long dataLines = 0;
        long long failedLines = 0;
    };

    static const char* csvHeader();

    // Reads `in` to its end, writing CSV to `out` and one message per bad line to `errors`.
    static Result run(std::istream& in, std::ostream& out, std::ostream& errors);
};

} // namespace quorvane
