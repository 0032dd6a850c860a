#include "datafile/LogHeader.h"

#include "datafile/PlainNumbers.h"

#include <algorithm>
#include <array>

namespace quorvane {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A header line taken apart: what follows "# ", and its key and value when it has them.
struct Parts {
    std::string_view body;
    std::string_view key;
    std::string_view value;
};

Parts parts(std::string_view line) {
    Parts p;
    p.body = line.substr(1);
    if (!p.body.empty() && p.body.front() == ' ') {
        p.body.remove_prefix(1);
    }
    const std::string_view body = p.body;
    const std::size_t colon = body.find(": ");
    const std::size_t bare = body.size() > 0 && body.back() == ':' ? body.size() - 1 : body.npos;
    const std::size_t split = colon != body.npos ? colon : bare;
    if (split != body.npos) {
        p.key = body.substr(0, split);
        p.value = body.substr(std::min(body.size(), split + 2));
    }
    return p;
}

constexpr std::array<std::string_view, 9> kKeys = {"Instrument",   "Firmware",    "Delay",
                                                   "HeatDuration", "PowerLevel",  "HeaterEnabled",
                                                   "DataType",     "LogInterval", "Logfile"};

} // namespace

bool LogHeader::isWrittenLine(std::string_view line) {
    if (line.empty() || line.front() != '#') {
        return false;
    }
    const Parts p = parts(line);
    if (std::find(kKeys.begin(), kKeys.end(), p.key) != kKeys.end()) {
        return true;
    }
    // "# Date        Time     TTop    T2 ..." in either layout.
    return p.body.rfind("Date ", 0) == 0 && p.body.find(" Time ") != p.body.npos &&
           p.body.find(" TTop ") != p.body.npos;
}

bool LogHeader::add(std::string_view line) {
    const Parts p = parts(line);
    const std::string_view body = p.body;
    const std::string_view key = p.key;
    const std::string_view value = p.value;
    const std::string_view number = trimmed(value);

    if (key == "Instrument") {
        const bool seen = std::any_of(fields.begin(), fields.end(), [](const auto& field) {
            return field.first == "Instrument";
        });
        if (seen) {
            return false;
        }
        instrument = std::string(trimmed(value));
    } else if (key == "Firmware") {
        firmware = std::string(value);
    } else if (key == "Delay") {
        delaySeconds = parsePlainNumber(number);
    } else if (key == "HeatDuration") {
        heatDurationSeconds = parsePlainNumber(number);
    } else if (key == "PowerLevel") {
        powerLevel = parsePlainNumber(number);
    } else if (key == "HeaterEnabled") {
        heaterEnabled = number == "Yes"  ? std::optional<bool>(true)
                        : number == "No" ? std::optional<bool>(false)
                                         : std::nullopt;
    } else if (key == "DataType") {
        layout = number == "RawHex"        ? DataLayout::RawHex
                 : number == "Temperature" ? DataLayout::Temperature
                                           : DataLayout::Unknown;
    } else if (key == "LogInterval") {
        logIntervalSeconds = parsePlainNumber(number);
    } else if (key == "Logfile") {
        logfile = std::string(value);
    } else if (body.rfind("Date ", 0) == 0) {
        columnLine = std::string(body);
        return true;
    } else {
        otherLines.emplace_back(body);
        return true;
    }
    fields.emplace_back(std::string(key), std::string(value));
    return true;
}

} // namespace quorvane
