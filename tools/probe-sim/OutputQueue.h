#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace quorvane::probesim {

// A piece of output and what to log once its last byte is out. A chunk with a delay waits
// that long after the previous chunk is written, so the reader sees it arrive separately.
struct Chunk {
    std::string bytes;
    std::chrono::milliseconds delayBefore{0};
    std::vector<std::string> logWhenSent;
};

// Bytes waiting for the master side of the pty, written in order, optionally paced at a
// fixed character rate (a baud rate / 10).
class OutputQueue {
public:
    using Clock = std::chrono::steady_clock;
    // Returns bytes written, or -1 with errno set (EAGAIN: try again on POLLOUT).
    using Writer = std::function<ssize_t(const char* data, std::size_t size)>;

    explicit OutputQueue(double charsPerSecond = 0.0) : m_cps(charsPerSecond) {}

    void push(Chunk chunk, Clock::time_point now);
    void clear();
    bool empty() const { return m_chunks.empty(); }
    std::size_t pendingBytes() const { return m_pendingBytes; }

    struct Result {
        std::vector<std::string> sent; // log lines of chunks completed by this call
        bool blocked = false;          // the writer would block: wait for POLLOUT
        int error = 0;                 // errno of a failed write other than EAGAIN
    };
    Result writeSome(const Writer& writer, Clock::time_point now);

    // When the next byte may go out (nullopt: nothing queued). May be in the past.
    std::optional<Clock::time_point> nextWriteTime(Clock::time_point now) const;

private:
    double creditAt(Clock::time_point t) const;
    std::size_t allowance(Clock::time_point now);
    void startHead(Clock::time_point now);

    double m_cps;
    std::deque<Chunk> m_chunks;
    std::size_t m_headOffset = 0;
    Clock::time_point m_headReadyAt{};
    std::size_t m_pendingBytes = 0;
    double m_credit = 0.0;
    std::optional<Clock::time_point> m_creditAt;
};

} // namespace quorvane::probesim
