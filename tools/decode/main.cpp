#include "LogFileDecoder.h"

#include <cstring>
#include <fstream>
#include <iostream>

namespace {

const char* const kHelp =
    R"(Usage: quorvane-decode FILE
       quorvane-decode -          (read standard input)

Reads a Quorvane data log file (RawHex or Temperature layout, one or more header
blocks) and writes CSV to standard output, so that temperatures can be recomputed and
plotted from raw logs.

Header lines (starting with "#") and empty lines are skipped. The CSV has a header row,
then one row per data line:
  time      the line's UTC time stamp in ISO 8601 with "Z" (2026-12-07T13:51:10Z)
  r_ttop..r_tbot   the five thermistor resistances in whole ohms (empty for lines in
                   the Temperature layout, which hold no resistances)
  t_ttop..t_tbot   the five temperatures in degrees Celsius, three decimals
  heater    the heater column as logged (the heat level while on, 0 while off)
The numbers are decoded by the same code as the program's own display.

A line that cannot be decoded is reported on standard error with its line number and
the reason; decoding goes on with the next line.

Exit status: 0 when every data line decoded, 1 when some did not, 2 when the file
cannot be read.
)";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kHelp;
        return 0;
    }
    if (argc != 2) {
        std::cerr << kHelp;
        return 2;
    }
    std::ifstream file;
    std::istream* in = &std::cin;
    if (std::strcmp(argv[1], "-") != 0) {
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::cerr << "quorvane-decode: cannot read " << argv[1] << ": " << std::strerror(errno)
                      << '\n';
            return 2;
        }
        in = &file;
    }
    const quorvane::LogFileDecoder::Result result =
        quorvane::LogFileDecoder::run(*in, std::cout, std::cerr);
    if (in->bad()) {
        std::cerr << "quorvane-decode: error while reading " << argv[1] << '\n';
        return 2;
    }
    return result.failedLines == 0 ? 0 : 1;
}
