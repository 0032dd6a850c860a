#include "LogFileDecoder.h"

#include "NullDialogs.h"
#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"

#include <array>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace quorvane {

namespace {

constexpr std::size_t kStampLength = 20;
constexpr std::size_t kPayloadLength = 40;

std::string isoTime(const std::string& stamp) {
    static const std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // dd-mmm-yyyy hh:mm:ss
    auto digits = [&](std::size_t at, std::size_t n) {
        for (std::size_t i = at; i < at + n; ++i) {
            if (stamp[i] < '0' || stamp[i] > '9') {
                throw std::runtime_error("bad time stamp");
            }
        }
        return stamp.substr(at, n);
    };
    if (stamp.size() != kStampLength || stamp[2] != '-' || stamp[6] != '-' || stamp[11] != ' ' ||
        stamp[14] != ':' || stamp[17] != ':') {
        throw std::runtime_error("bad time stamp");
    }
    const std::string month = stamp.substr(3, 3);
    int monthNumber = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (month == kMonths[i]) {
            monthNumber = static_cast<int>(i) + 1;
        }
    }
    if (monthNumber == 0) {
        throw std::runtime_error("bad time stamp");
    }
    const std::string mm = (monthNumber < 10 ? "0" : "") + std::to_string(monthNumber);
    return digits(7, 4) + "-" + mm + "-" + digits(0, 2) + "T" + digits(12, 2) + ":" +
           digits(15, 2) + ":" + digits(18, 2) + "Z";
}

} // namespace

const char* LogFileDecoder::csvHeader() {
    return "time,r_ttop,r_t2,r_t3,r_t4,r_tbot,t_ttop,t_t2,t_t3,t_t4,t_tbot,heater";
}

std::string LogFileDecoder::decodeLine(const std::string& line) {
    // stamp, a space, the 40-character payload, a space, the heater column
    if (line.size() < kStampLength + 1 + kPayloadLength + 2) {
        throw std::runtime_error("line too short for a RawHex data line");
    }
    if (line[kStampLength] != ' ' || line[kStampLength + 1 + kPayloadLength] != ' ') {
        throw std::runtime_error("not a RawHex data line (columns out of place)");
    }
    const std::string time = isoTime(line.substr(0, kStampLength));
    const std::string payload = line.substr(kStampLength + 1, kPayloadLength);
    const std::string heater = line.substr(kStampLength + 2 + kPayloadLength);
    if (heater.empty() || heater.find_first_not_of("0123456789") != std::string::npos) {
        throw std::runtime_error("bad heater column");
    }
    NullDialogs dialogs;
    RecordDecoder decoder(dialogs);
    try {
        decoder.decode(payload);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("record cannot be decoded: ") + error.what());
    }
    std::string row = time;
    for (std::size_t i = 0; i < 5; ++i) {
        row += "," + std::to_string(decoder.resistanceOhms[i]);
    }
    for (std::size_t i = 0; i < 5; ++i) {
        row += "," + formatTemperature(decoder.temperatureC[i]);
    }
    return row + "," + heater;
}

LogFileDecoder::Result LogFileDecoder::run(std::istream& in, std::ostream& out,
                                           std::ostream& errors) {
    Result result;
    out << csvHeader() << '\n';
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        ++result.dataLines;
        try {
            out << decodeLine(line) << '\n';
        } catch (const std::exception& error) {
            ++result.failedLines;
            errors << "line " << number << ": " << error.what() << '\n';
        }
    }
    return result;
}

} // namespace quorvane
