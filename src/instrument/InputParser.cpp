#include "instrument/InputParser.h"

#include "instrument/Hex.h"
#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"
#include "logging/DataLog.h"
#include "logging/DisplayPanes.h"
#include "logging/EventLog.h"
#include "logging/EventStamp.h"
#include "run/RunFlags.h"
#include "util/ErrorText.h"
#include "util/Util.h"

namespace quorvane {

namespace {

const std::string kCrLf = "\r\n";

bool isDataRecord(const std::string& line) {
    return line.size() == 43 && line[0] == ':' && line[1] == '\x03' && line[2] == 'T' &&
           line[3] == ' ';
}

} // namespace

InputParser::InputParser(MainView& view, const RunFlags& flags, SystemTime& sysTime,
                         const Clock& clock, RecordDecoder& decoder, EventLog& eventLog,
                         DataLog& dataLog, Dialogs& dialogs)
    : m_view(view), m_flags(flags), m_sysTime(sysTime), m_clock(clock), m_decoder(decoder),
      m_eventLog(eventLog), m_dataLog(dataLog), m_dialogs(dialogs) {}

void InputParser::append(const std::string& received) {
    m_inputBuffer += received;
    // Only the incomplete tail is bounded; complete lines waiting for a pass are kept.
    const std::size_t lastLineEnd = m_inputBuffer.rfind(kCrLf);
    std::size_t tailStart = lastLineEnd == std::string::npos ? 0 : lastLineEnd + 2;
    if (tailStart < m_consumed) {
        tailStart = m_consumed;
    }
    const std::size_t tailLength = m_inputBuffer.size() - tailStart;
    if (tailLength > kMaxIncompleteLine) {
        m_inputBuffer.erase(tailStart, tailLength - kMaxIncompleteLine);
    }
}

void InputParser::compact() {
    m_inputBuffer.erase(0, m_consumed);
    m_consumed = 0;
}

bool InputParser::parseInput() {
    if (m_parsing) {
        return false;
    }
    m_parsing = true;
    bool endedEarly = false;
    try {
        endedEarly = runPass();
    } catch (...) {
        m_parsing = false;
        compact();
        throw;
    }
    m_parsing = false;
    compact();
    return endedEarly;
}

bool InputParser::runPass() {
    m_sysTime = m_clock.nowUtc();
    for (;;) {
        // Lines are consumed by moving an offset; the buffer is compacted after the pass,
        // so a long backlog costs time in proportion to its length.
        const std::size_t end = m_inputBuffer.find(kCrLf, m_consumed);
        if (end == std::string::npos) {
            return false;
        }
        const std::string line = m_inputBuffer.substr(m_consumed, end - m_consumed);
        m_consumed = end + 2;
        bool endedEarly = false;
        try {
            handleLine(line, endedEarly);
        } catch (const std::exception& error) {
            m_dialogs.showMessage("parseInput: Error parsing input.\r\n" + errorLine(error),
                                  "Quorvane");
            return true;
        }
        if (endedEarly) {
            return true;
        }
    }
}

void InputParser::handleLine(const std::string& line, bool& endedEarly) {
    // No static strings here: the pass also runs from an exit handler (the display lost),
    // after the statics made on first use are gone.
    constexpr std::string_view kBanner = "Serial Heatflow, Ver";
    constexpr std::string_view kSerialReply = "#HFN";

    if (line.find(kBanner) != std::string::npos) {
        m_view.lblFirmwareID->setCaption(line.substr(line.find("Ver")));
    }
    const std::size_t reply = line.find(kSerialReply);
    if (reply != std::string::npos) {
        const std::string serial = trimSpaces(line.substr(reply + kSerialReply.size()));
        if (serial != m_view.lblInstrumentID->caption()) {
            m_view.lblInstrumentID->setCaption(serial);
            m_eventLog.logEvent("Instrument S/N: " + serial + " detected.");
        }
    }
    if (!isDataRecord(line)) {
        return;
    }
    const std::string payload = line.substr(3);
    if (m_decoder.processQuorvaneRecord(payload)) {
        return;
    }
    endedEarly = logRecord(payload);
    // A line held back by a failing data log is still a record received: it is written,
    // in order, once the file can be written again.
    if (m_recordLogged) {
        m_recordLogged();
    }
}

bool InputParser::logRecord(const std::string& payload) {
    const std::string heater = m_flags.heaterOn ? m_view.txtHeatLevel->text() : std::string("0");
    const std::string stamp = formatEventStamp(m_sysTime);
    const bool rawHex = m_view.Option1[0]->isSelected();
    // Neither option selected (a stored pair of "False") logs temperatures, as the header
    // of such a run says; the record is not dropped.
    const bool temperatures = !rawHex;
    if (rawHex) {
        const std::string dataLine = stamp + " " + payload + " " + heater;
        if (m_dataLog.logToFile(dataLine)) {
            return true;
        }
        appendToPane(*m_view.txtLoggedDataDisplay, dataLine + kCrLf);
    }
    showRecord();
    if (temperatures) {
        std::string text;
        for (std::size_t i = 0; i < 5; ++i) {
            text += " " + formatTemperature(m_decoder.temperatureC[i]);
        }
        const std::string dataLine = stamp + " " + text + " " + heater;
        if (m_dataLog.logToFile(dataLine)) {
            return true;
        }
        appendToPane(*m_view.txtLoggedDataDisplay, dataLine + kCrLf);
    }
    return false;
}

void InputParser::showRecord() {
    for (std::size_t i = 1; i <= 7; ++i) {
        m_view.txtHex[i - 1]->setText(m_decoder.hexFields[i]);
        m_view.lblDec[i - 1]->setCaption(std::to_string(hex2decimal(m_decoder.hexFields[i])));
    }
    for (std::size_t i = 0; i < 5; ++i) {
        m_view.lblResistance[i]->setCaption(std::to_string(m_decoder.resistanceOhms[i]));
        m_view.lblTemperature[i]->setCaption(formatTemperature(m_decoder.temperatureC[i]));
    }
}

} // namespace quorvane
