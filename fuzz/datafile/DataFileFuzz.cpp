// Any bytes read as a data log file: never a crash, and the same records, bad lines and
// header blocks whether the file arrives at once or cut in two where the first byte says
// (as a writer's half line is met by a follower).
#include "datafile/DataFileParser.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

struct Reading {
    std::vector<quorvane::LogRecord> records;
    std::vector<quorvane::BadLine> bad;
    std::size_t headers = 0;
    qint64 lines = 0;
};

Reading read(std::string_view text, std::size_t cut) {
    quorvane::DataFileParser parser;
    parser.feed(text.substr(0, cut));
    parser.feed(text.substr(cut));
    parser.finish();
    return {parser.takeRecords(), parser.takeBadLines(), parser.headers().size(),
            parser.lineCount()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Reading whole = read(text, text.size());
    const Reading cut = read(text, data[0] % (text.size() + 1));
    if (whole.records.size() != cut.records.size() || whole.bad.size() != cut.bad.size() ||
        whole.headers != cut.headers || whole.lines != cut.lines) {
        std::abort();
    }
    for (std::size_t i = 0; i < whole.records.size(); ++i) {
        const quorvane::LogRecord& a = whole.records[i];
        const quorvane::LogRecord& b = cut.records[i];
        if (a.utcSeconds != b.utcSeconds || a.lineNumber != b.lineNumber ||
            a.heater != b.heater || a.headerIndex != b.headerIndex) {
            std::abort();
        }
        for (std::size_t c = 0; c < 5; ++c) {
            if (!std::isfinite(a.temperatureC[c]) || a.temperatureC[c] != b.temperatureC[c]) {
                std::abort();
            }
        }
    }
    for (std::size_t i = 0; i < whole.bad.size(); ++i) {
        if (whole.bad[i].lineNumber != cut.bad[i].lineNumber ||
            whole.bad[i].reason != cut.bad[i].reason) {
            std::abort();
        }
    }
    return 0;
}
