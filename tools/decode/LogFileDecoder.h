#pragma once

#include <iosfwd>
#include <string>

namespace quorvane {

// Turns a RawHex data log file into CSV: per data line the UTC time in ISO 8601, the five
// resistances in ohms, the five temperatures with three decimals and the heater column,
// decoded as the program decodes records. Header lines ("#...") are skipped.
class LogFileDecoder {
public:
    struct Result {
        int dataLines = 0;
        int failedLines = 0;
    };

    static const char* csvHeader();

    // Decodes one data line into a CSV row; throws std::runtime_error with the reason.
    static std::string decodeLine(const std::string& line);

    // Reads `in` to its end, writing CSV to `out` and one message per bad line to `errors`.
    static Result run(std::istream& in, std::ostream& out, std::ostream& errors);
};

} // namespace quorvane
