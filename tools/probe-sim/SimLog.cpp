#include "SimLog.h"

#include <cstdio>
#include <ctime>

namespace quorvane::probesim {

SimLog::SimLog(std::ostream* out, std::function<WallClock::time_point()> clock)
    : m_out(out), m_clock(std::move(clock)) {}

void SimLog::write(std::string_view text) {
    if (!m_out) {
        return;
    }
    *m_out << stamp(m_clock()) << ' ' << text << '\n';
}

void SimLog::flush() {
    if (m_out) {
        m_out->flush();
    }
}

std::string SimLog::stamp(WallClock::time_point t) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(t);
    const auto secs = floor<seconds>(ms);
    const std::time_t tt = WallClock::to_time_t(secs);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  int((ms - secs).count()));
    return buf;
}

std::string SimLog::escape(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\x%02X", unsigned(c));
            out += buf;
        }
    }
    return out;
}

} // namespace quorvane::probesim
