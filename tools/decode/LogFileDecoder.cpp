#include "LogFileDecoder.h"

#include "datafile/DataFileParser.h"
#include "datafile/PlainNumbers.h"
#include "datafile/UtcStamp.h"

#include <cmath>
#include <istream>
#include <ostream>
#include <vector>

namespace quorvane {

namespace {

void writeRecords(DataFileParser& parser, std::ostream& out, std::ostream& errors) {
    // Records and bad lines in the order of their lines.
    std::vector<LogRecord> records = parser.takeRecords();
    std::vector<BadLine> bad = parser.takeBadLines();
    std::size_t b = 0;
    std::string row;
    for (const LogRecord& record : records) {
        for (; b < bad.size() && bad[b].lineNumber < record.lineNumber; ++b) {
            errors << "line " << bad[b].lineNumber << ": " << bad[b].reason << '\n';
        }
        row = isoUtc(record.utcSeconds);
        for (double r : record.resistanceOhms) {
            row += ',';
            if (!std::isnan(r)) {
                row += formatFixed(r, 0);
            }
        }
        for (double t : record.temperatureC) {
            row += ',';
            row += formatFixed(t, 3);
        }
        row += ',';
        row += std::to_string(record.heater);
        out << row << '\n';
    }
    for (; b < bad.size(); ++b) {
        errors << "line " << bad[b].lineNumber << ": " << bad[b].reason << '\n';
    }
}

} // namespace

const char* LogFileDecoder::csvHeader() {
    return "time,r_ttop,r_t2,r_t3,r_t4,r_tbot,t_ttop,t_t2,t_t3,t_t4,t_tbot,heater";
}

LogFileDecoder::Result LogFileDecoder::run(std::istream& in, std::ostream& out,
                                           std::ostream& errors) {
    out << csvHeader() << '\n';
    DataFileParser parser;
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        parser.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        writeRecords(parser, out, errors);
    }
    parser.finish();
    writeRecords(parser, out, errors);
    if (parser.badLineCount() > static_cast<qint64>(DataFileParser::kMaxKeptBadLines)) {
        errors << parser.badLineCount() << " bad lines in all; the first "
               << DataFileParser::kMaxKeptBadLines << " are listed\n";
    }
    return {parser.recordCount() + parser.badLineCount(), parser.badLineCount()};
}

} // namespace quorvane
