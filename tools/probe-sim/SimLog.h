#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvane::probesim {

// One line per happening, stamped with UTC to the millisecond ("2026-12-08T10:00:00.123Z").
// Without a stream every write is dropped.
class SimLog {
public:
    using WallClock = std::chrono::system_clock;

    explicit SimLog(std::ostream* out = nullptr,
                    std::function<WallClock::time_point()> clock = &WallClock::now);

    bool enabled() const { return m_out != nullptr; }
    void write(std::string_view text);
    void flush();

    static std::string stamp(WallClock::time_point t);
    // Printable ASCII as is; backslash, CR, LF and every other byte as an escape, so a line
    // of the log is always one line.
    static std::string escape(std::string_view bytes);

private:
    std::ostream* m_out;
    std::function<WallClock::time_point()> m_clock;
};

} // namespace quorvane::probesim
