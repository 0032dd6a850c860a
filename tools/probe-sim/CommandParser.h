#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::probesim {

struct Command {
    enum class Kind {
        SerialQuery, // "#HFN"
        BannerQuery, // "#HFH"
        DataRequest, // "T"
        HeaterOn,    // "!Q" duration " " level " "
        PowerLevel,  // "!P" level " "
        Ignored,     // bytes that are no command, skipped while resynchronising
    };
    Kind kind;
    std::string text; // the bytes exactly as received
    long durationS = 0;
    int level = 0;

    bool operator==(const Command&) const = default;
};

// Frames the instrument's commands out of a byte stream. Commands carry no terminator, so
// several may come in one read and one may be split over reads; an incomplete command is
// kept until the rest arrives. Anything unrecognised is skipped up to the next '#', 'T'
// or '!'.
class CommandParser {
public:
    static constexpr int kMaxLevel = 200;

    std::vector<Command> feed(std::string_view bytes);
    // Bytes held back as the start of a command not yet complete.
    const std::string& pending() const { return m_buffer; }
    void reset() { m_buffer.clear(); }

private:
    enum class Match { Complete, NeedMore, Invalid };
    Match matchHeater(std::size_t& length, long& duration, int& level) const;

    std::string m_buffer;
};

} // namespace quorvane::probesim
