#include "ProbeSimulator.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane::probesim {

namespace {
// Flood output is generated in batches of about this length, and never queued beyond
// kFloodBacklog bytes: a reader that stalls gets a gap, not a burst afterwards.
constexpr double kFloodBatchS = 0.01;
constexpr std::size_t kFloodBacklog = 16384;
constexpr double kRecordChars = RecordBuilder::kLineLength + 2;
// The seed of the faults differs from that of the noise so the two draw independently.
constexpr std::uint64_t kFaultSeedSalt = 0x9E3779B97F4A7C15ULL;
} // namespace

ProbeSimulator::ProbeSimulator(const SimOptions& options, std::uint64_t seed, SimLog& log,
                               Clock::time_point now)
    : m_options(options), m_log(log),
      m_model(ForwardModel(options.liveModel()), options.noiseK, seed, now),
      m_builder(ReadingEncoder(options.ref20k, options.ref100k)),
      m_faults(options.faults, seed ^ kFaultSeedSalt),
      m_output(options.baud > 0 ? options.baud / 10.0 : 0.0) {}

void ProbeSimulator::startSession(Clock::time_point now) {
    m_parser.reset();
    m_output.clear();
    m_sessionRecords = 0;
    m_floodCredit = 0.0;
    m_floodAt = now;
}

void ProbeSimulator::sendLine(std::string line, Clock::time_point now) {
    std::string logLine = "SENT-REPLY " + SimLog::escape(line);
    m_output.push(Chunk{std::move(line), {}, {std::move(logLine)}}, now);
}

bool ProbeSimulator::recordsExhausted() const {
    return m_options.hangupAfter > 0 && m_sessionRecords >= m_options.hangupAfter;
}

bool ProbeSimulator::hangupDue() const {
    return recordsExhausted() && m_output.empty();
}

void ProbeSimulator::emitRecord(Clock::time_point now) {
    const auto temps = m_model.temperatures(now);
    m_sequence = std::uint16_t((m_sequence + 1) & ReadingEncoder::kMaxReading);
    auto emission = m_faults.emission(m_builder.readings(m_sequence, temps));
    for (auto& chunk : emission.chunks) {
        m_output.push(std::move(chunk), now);
    }
    ++m_sessionRecords;
}

void ProbeSimulator::handle(const Command& command, Clock::time_point now) {
    using Kind = Command::Kind;
    if (command.kind == Kind::Ignored) {
        m_log.write("IGNORED " + SimLog::escape(command.text));
        return;
    }
    m_log.write("CMD " + SimLog::escape(command.text));
    switch (command.kind) {
    case Kind::SerialQuery:
        sendLine("#HFN " + m_options.serial + "\r\n", now);
        break;
    case Kind::BannerQuery:
        sendLine("Quorvane Serial Heatflow, Ver " + m_options.firmware + "\r\n", now);
        break;
    case Kind::DataRequest:
        ++m_dataRequests;
        if ((m_options.dropEvery > 0 && m_dataRequests % m_options.dropEvery == 0) ||
            recordsExhausted()) {
            m_log.write("DROPPED T");
        } else {
            emitRecord(now);
        }
        break;
    case Kind::HeaterOn:
        m_model.heaterOn(command.level, std::chrono::seconds(command.durationS), now);
        m_log.write("HEATER-ON duration=" + std::to_string(command.durationS) +
                    " level=" + std::to_string(command.level));
        break;
    case Kind::PowerLevel:
        m_model.setPowerLevel(command.level, now);
        m_log.write(command.level == 0 ? std::string("HEATER-OFF")
                                       : "HEATER-LEVEL level=" + std::to_string(command.level));
        break;
    case Kind::Ignored:
        break;
    }
}

void ProbeSimulator::onInput(std::string_view bytes, Clock::time_point now) {
    for (const Command& c : m_parser.feed(bytes)) {
        // An earlier timed heater-on may have run out before this command changes it.
        m_model.level(now);
        if (m_model.takeExpired()) {
            m_log.write("HEATER-EXPIRED");
        }
        handle(c, now);
    }
}

void ProbeSimulator::flood(Clock::time_point now) {
    if (m_options.floodRate <= 0.0 || recordsExhausted()) {
        return;
    }
    const double batch = std::max(kRecordChars, m_options.floodRate * kFloodBatchS);
    if (m_floodAt && now > *m_floodAt) {
        m_floodCredit +=
            std::chrono::duration<double>(now - *m_floodAt).count() * m_options.floodRate;
    }
    m_floodAt = now;
    m_floodCredit = std::min(m_floodCredit, 2.0 * batch);
    if (m_options.floodGarbage) {
        const auto n = std::size_t(m_floodCredit);
        if (n > 0 && m_output.pendingBytes() < kFloodBacklog) {
            m_output.push(
                Chunk{m_faults.garbageBytes(n), {}, {"FLOOD-GARBAGE " + std::to_string(n)}}, now);
        }
        m_floodCredit -= double(n);
        return;
    }
    while (m_floodCredit >= kRecordChars && !recordsExhausted()) {
        m_floodCredit -= kRecordChars;
        if (m_output.pendingBytes() < kFloodBacklog) {
            emitRecord(now);
        }
    }
}

void ProbeSimulator::onTick(Clock::time_point now) {
    m_model.level(now);
    if (m_model.takeExpired()) {
        m_log.write("HEATER-EXPIRED");
    }
    flood(now);
}

std::optional<ProbeSimulator::Clock::time_point>
ProbeSimulator::nextTick(Clock::time_point now) const {
    std::optional<Clock::time_point> t = m_model.heaterEnd();
    if (m_options.floodRate > 0.0 && !recordsExhausted()) {
        const double batch = std::max(kRecordChars, m_options.floodRate * kFloodBatchS);
        const double waitS = std::max(0.0, (batch - m_floodCredit) / m_options.floodRate);
        const Clock::time_point f =
            (m_floodAt ? *m_floodAt : now) +
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(waitS));
        t = t ? std::min(*t, f) : f;
    }
    return t;
}

} // namespace quorvane::probesim
