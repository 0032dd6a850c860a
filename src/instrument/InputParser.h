#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/MainView.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

class DataLog;
class EventLog;
class RecordDecoder;
struct RunFlags;

// Frames the received text into CR LF lines and acts on the banner, the serial-number
// reply and data records: each record is decoded, logged to the data log file and shown.
class InputParser {
public:
    // Text without a CR LF beyond this is dropped from its front: a wrong line speed must
    // not grow the buffer without bound.
    static constexpr std::size_t kMaxIncompleteLine = 32767;

    InputParser(MainView& view, const RunFlags& flags, SystemTime& sysTime, const Clock& clock,
                RecordDecoder& decoder, EventLog& eventLog, DataLog& dataLog, Dialogs& dialogs);

    // Adds received text to inputBuffer.
    void append(const std::string& received);

    // One pass over the complete lines in inputBuffer. True when the pass ended early (a
    // failed data-file write or a parse error); the rest waits for the next pass. A call
    // made while a pass is running (from an event loop inside it) does nothing.
    bool parseInput();

    // The text received and not yet framed into lines.
    std::string_view inputBuffer() const {
        return std::string_view(m_inputBuffer).substr(m_consumed);
    }
    bool isParsing() const { return m_parsing; }
    // Runs after each data record that was decoded and written to the data log file (or
    // held for it while the file cannot be written).
    void onRecordLogged(std::function<void()> reaction) { m_recordLogged = std::move(reaction); }

private:
    bool runPass();
    void handleLine(const std::string& line, bool& endedEarly);
    bool logRecord(const std::string& payload);
    void showRecord();
    void compact();

    MainView& m_view;
    const RunFlags& m_flags;
    SystemTime& m_sysTime;
    const Clock& m_clock;
    RecordDecoder& m_decoder;
    EventLog& m_eventLog;
    DataLog& m_dataLog;
    Dialogs& m_dialogs;
    std::string m_inputBuffer;
    std::size_t m_consumed = 0;
    bool m_parsing = false;
    std::function<void()> m_recordLogged;
};

} // namespace quorvane
