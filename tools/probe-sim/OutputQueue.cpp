#include "OutputQueue.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace quorvane::probesim {

namespace {
// Paced output goes out in bursts of about this long, so a slow rate does not mean one
// wake-up per character.
constexpr double kBurstS = 0.01;
} // namespace

void OutputQueue::push(Chunk chunk, Clock::time_point now) {
    if (chunk.bytes.empty() && chunk.logWhenSent.empty()) {
        return;
    }
    m_pendingBytes += chunk.bytes.size();
    m_chunks.push_back(std::move(chunk));
    if (m_chunks.size() == 1) {
        startHead(now);
    }
}

void OutputQueue::clear() {
    m_chunks.clear();
    m_headOffset = 0;
    m_pendingBytes = 0;
    m_credit = 0.0;
    m_creditAt.reset();
}

void OutputQueue::startHead(Clock::time_point now) {
    m_headOffset = 0;
    m_headReadyAt = now + m_chunks.front().delayBefore;
}

double OutputQueue::creditAt(Clock::time_point t) const {
    // Idle time does not buy a later burst faster than the line could carry it.
    const double cap = std::max(1.0, m_cps * kBurstS);
    if (!m_creditAt) {
        return cap;
    }
    double credit = m_credit;
    if (t > *m_creditAt) {
        credit += std::chrono::duration<double>(t - *m_creditAt).count() * m_cps;
    }
    return std::min(credit, cap);
}

std::size_t OutputQueue::allowance(Clock::time_point now) {
    if (m_cps <= 0.0) {
        return m_pendingBytes;
    }
    m_credit = creditAt(now);
    m_creditAt = now;
    return static_cast<std::size_t>(m_credit);
}

OutputQueue::Result OutputQueue::writeSome(const Writer& writer, Clock::time_point now) {
    Result result;
    while (!m_chunks.empty()) {
        if (now < m_headReadyAt) {
            break;
        }
        Chunk& head = m_chunks.front();
        const std::size_t left = head.bytes.size() - m_headOffset;
        if (left > 0) {
            const std::size_t allowed = std::min(left, allowance(now));
            if (allowed == 0) {
                break;
            }
            const ssize_t n = writer(head.bytes.data() + m_headOffset, allowed);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    result.blocked = true;
                } else if (errno != EINTR) {
                    result.error = errno;
                }
                break;
            }
            m_headOffset += std::size_t(n);
            m_pendingBytes -= std::size_t(n);
            if (m_cps > 0.0) {
                m_credit -= double(n);
            }
            if (std::size_t(n) < allowed) {
                result.blocked = true;
                break;
            }
            if (m_headOffset < head.bytes.size()) {
                break; // pacing: the rest waits for more credit
            }
        }
        for (auto& line : head.logWhenSent) {
            result.sent.push_back(std::move(line));
        }
        m_chunks.pop_front();
        if (!m_chunks.empty()) {
            startHead(now);
        }
    }
    return result;
}

std::optional<OutputQueue::Clock::time_point>
OutputQueue::nextWriteTime(Clock::time_point now) const {
    if (m_chunks.empty()) {
        return std::nullopt;
    }
    Clock::time_point t = std::max(now, m_headReadyAt);
    if (m_cps > 0.0) {
        const std::size_t left = m_chunks.front().bytes.size() - m_headOffset;
        const double want = std::min(double(left), std::max(1.0, m_cps * kBurstS));
        const double credit = creditAt(t);
        if (credit < want) {
            const double waitS = (want - credit) / m_cps;
            t += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(waitS));
            t += std::chrono::microseconds(1);
        }
    }
    return t;
}

} // namespace quorvane::probesim
