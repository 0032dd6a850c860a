#include "datafile/DataLineParser.h"

#include "datafile/PlainNumbers.h"
#include "datafile/UtcStamp.h"

#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr std::size_t kStampLength = 20;
constexpr std::size_t kPayloadLength = 40;

// Fields separated by runs of blanks; at most `max` + 1 are looked at.
template <std::size_t N>
std::size_t splitFields(std::string_view text, std::array<std::string_view, N>& out) {
    std::size_t n = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at] == ' ') {
            ++at;
        }
        if (at == text.size()) {
            break;
        }
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ') {
            ++end;
        }
        if (n == N) {
            return N + 1;
        }
        out[n++] = text.substr(at, end - at);
        at = end;
    }
    return n;
}

bool looksLikeRawHex(std::string_view line) {
    return line.size() >= kStampLength + 1 + kPayloadLength + 2 && line[kStampLength] == ' ' &&
           line[kStampLength + 1 + kPayloadLength] == ' ';
}

// A field for a message: at most 24 characters, anything unprintable as '?'.
std::string shown(std::string_view field) {
    std::string out;
    for (char c : field.substr(0, 24)) {
        out += c >= ' ' && c <= '~' ? c : '?';
    }
    return field.size() > 24 ? out + "..." : out;
}

} // namespace

DataLineParser::DataLineParser() : m_decoder(m_dialogs) {}

bool DataLineParser::parse(std::string_view line, DataLayout expected, LogRecord& record,
                           std::string& reason) {
    if (expected == DataLayout::Unknown) {
        expected = looksLikeRawHex(line) ? DataLayout::RawHex : DataLayout::Temperature;
    }
    if (expected == DataLayout::RawHex) {
        if (parseRawHex(line, record, reason)) {
            return true;
        }
        std::string other;
        return !looksLikeRawHex(line) && parseTemperature(line, record, other);
    }
    if (parseTemperature(line, record, reason)) {
        return true;
    }
    std::string other;
    return looksLikeRawHex(line) && parseRawHex(line, record, other);
}

bool DataLineParser::parseRawHex(std::string_view line, LogRecord& record, std::string& reason) {
    // stamp, a space, the 40-character payload, a space, the heater column
    if (line.size() < kStampLength + 1 + kPayloadLength + 2) {
        reason = "line too short for a RawHex data line";
        return false;
    }
    if (!looksLikeRawHex(line)) {
        reason = "not a RawHex data line (columns out of place)";
        return false;
    }
    const std::optional<qint64> time = parseEventStampUtc(line.substr(0, kStampLength));
    if (!time) {
        reason = "bad time stamp";
        return false;
    }
    const std::optional<int> heater =
        parsePlainCount(line.substr(kStampLength + 2 + kPayloadLength));
    if (!heater) {
        reason = "bad heater column";
        return false;
    }
    m_payload.assign(line.substr(kStampLength + 1, kPayloadLength));
    try {
        m_decoder.decode(m_payload);
    } catch (const std::exception& error) {
        reason = std::string("record cannot be decoded: ") + error.what();
        return false;
    }
    record.utcSeconds = *time;
    record.heater = *heater;
    for (std::size_t i = 0; i < 5; ++i) {
        record.resistanceOhms[i] = m_decoder.resistanceOhms[i];
        record.temperatureC[i] = m_decoder.temperatureC[i];
    }
    return true;
}

bool DataLineParser::parseTemperature(std::string_view line, LogRecord& record,
                                      std::string& reason) {
    // stamp, a space, then for each channel a space and its temperature, a space, heater
    if (line.size() < kStampLength + 2 || line[kStampLength] != ' ') {
        reason = "not a data line";
        return false;
    }
    const std::optional<qint64> time = parseEventStampUtc(line.substr(0, kStampLength));
    if (!time) {
        reason = "bad time stamp";
        return false;
    }
    std::array<std::string_view, 6> fields;
    if (splitFields(line.substr(kStampLength), fields) != fields.size()) {
        reason = "not a Temperature data line (five temperatures and the heater column expected)";
        return false;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        const std::optional<double> t = parsePlainNumber(fields[i]);
        if (!t) {
            reason = "bad temperature \"" + shown(fields[i]) + "\"";
            return false;
        }
        record.temperatureC[i] = *t;
        record.resistanceOhms[i] = std::numeric_limits<double>::quiet_NaN();
    }
    const std::optional<int> heater = parsePlainCount(fields[5]);
    if (!heater) {
        reason = "bad heater column";
        return false;
    }
    record.utcSeconds = *time;
    record.heater = *heater;
    return true;
}

} // namespace quorvane
