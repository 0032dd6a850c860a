#include "datafile/LogHeader.h"

#include "datafile/PlainNumbers.h"

#include <algorithm>

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

} // namespace

bool LogHeader::add(std::string_view line) {
    std::string_view body = line.substr(1);
    if (!body.empty() && body.front() == ' ') {
        body.remove_prefix(1);
    }
    const std::size_t colon = body.find(": ");
    const std::size_t bare = body.size() > 0 && body.back() == ':' ? body.size() - 1 : body.npos;
    const std::size_t split = colon != body.npos ? colon : bare;
    const std::string_view key = split == body.npos ? std::string_view() : body.substr(0, split);
    const std::string_view value =
        split == body.npos ? std::string_view() : body.substr(std::min(body.size(), split + 2));
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
