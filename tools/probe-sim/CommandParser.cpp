#include "CommandParser.h"

namespace quorvane::probesim {

namespace {

constexpr std::string_view kStarts = "#T!";

bool isHexDigit(char c) {
    // The program sends upper-case digits only; anything else is a fault worth seeing.
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// Reads a run of hex digits at pos, then the closing space. NeedMore while the buffer ends
// inside the run.
enum class Field { Complete, NeedMore, Invalid };
Field hexField(const std::string& s, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits,
               long& value) {
    value = 0;
    std::size_t digits = 0;
    while (pos < s.size() && isHexDigit(s[pos])) {
        if (++digits > maxDigits) {
            return Field::Invalid;
        }
        value = value * 16 + hexValue(s[pos]);
        ++pos;
    }
    if (pos == s.size()) {
        return Field::NeedMore;
    }
    if (s[pos] != ' ' || digits < minDigits) {
        return Field::Invalid;
    }
    ++pos;
    return Field::Complete;
}

} // namespace

CommandParser::Match CommandParser::matchHeater(std::size_t& length, long& duration,
                                                int& level) const {
    const std::string& s = m_buffer;
    if (s.size() < 2) {
        return Match::NeedMore;
    }
    std::size_t pos = 2;
    long value = 0;
    if (s[1] == 'Q') {
        // 86400 s is five digits; allow a few more before calling it garbage.
        const Field d = hexField(s, pos, 4, 8, duration);
        if (d != Field::Complete) {
            return d == Field::NeedMore ? Match::NeedMore : Match::Invalid;
        }
        const Field l = hexField(s, pos, 2, 4, value);
        if (l != Field::Complete) {
            return l == Field::NeedMore ? Match::NeedMore : Match::Invalid;
        }
    } else if (s[1] == 'P') {
        duration = 0;
        const Field l = hexField(s, pos, 1, 4, value);
        if (l != Field::Complete) {
            return l == Field::NeedMore ? Match::NeedMore : Match::Invalid;
        }
    } else {
        return Match::Invalid;
    }
    if (value > kMaxLevel) {
        return Match::Invalid;
    }
    level = static_cast<int>(value);
    length = pos;
    return Match::Complete;
}

std::vector<Command> CommandParser::feed(std::string_view bytes) {
    m_buffer.append(bytes);
    std::vector<Command> out;
    std::string skipped;
    auto flushSkipped = [&] {
        if (!skipped.empty()) {
            out.push_back({Command::Kind::Ignored, skipped});
            skipped.clear();
        }
    };
    // Drops the first character and everything up to the next possible command start.
    auto resync = [&] {
        std::size_t next = m_buffer.find_first_of(kStarts, 1);
        if (next == std::string::npos) {
            next = m_buffer.size();
        }
        skipped += m_buffer.substr(0, next);
        m_buffer.erase(0, next);
    };

    while (!m_buffer.empty()) {
        const char c = m_buffer[0];
        if (c == 'T') {
            flushSkipped();
            out.push_back({Command::Kind::DataRequest, "T"});
            m_buffer.erase(0, 1);
        } else if (c == '#') {
            const std::string_view head = std::string_view(m_buffer).substr(0, 4);
            const bool n = std::string_view("#HFN").starts_with(head);
            const bool h = std::string_view("#HFH").starts_with(head);
            if (head.size() < 4 && (n || h)) {
                break;
            }
            if (head.size() == 4 && (n || h)) {
                flushSkipped();
                out.push_back({n ? Command::Kind::SerialQuery : Command::Kind::BannerQuery,
                               std::string(head)});
                m_buffer.erase(0, 4);
            } else {
                resync();
            }
        } else if (c == '!') {
            std::size_t length = 0;
            long duration = 0;
            int level = 0;
            const Match m = matchHeater(length, duration, level);
            if (m == Match::NeedMore) {
                break;
            }
            if (m == Match::Invalid) {
                resync();
                continue;
            }
            flushSkipped();
            const auto kind =
                m_buffer[1] == 'Q' ? Command::Kind::HeaterOn : Command::Kind::PowerLevel;
            out.push_back({kind, m_buffer.substr(0, length), duration, level});
            m_buffer.erase(0, length);
        } else {
            resync();
        }
    }
    flushSkipped();
    return out;
}

} // namespace quorvane::probesim
