#pragma once

#include "CommandParser.h"
#include "FaultInjector.h"
#include "OutputQueue.h"
#include "RecordBuilder.h"
#include "SimLog.h"
#include "SimOptions.h"
#include "ThermalModel.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::probesim {

// The instrument's behaviour, free of file descriptors: commands in, chunks of output out
// (queued for the pty), log lines on the way. The thermal model keeps running across pty
// sessions; parser, queue and the hang-up count start afresh with each one.
class ProbeSimulator {
public:
    using Clock = std::chrono::steady_clock;

    ProbeSimulator(const SimOptions& options, std::uint64_t seed, SimLog& log,
                   Clock::time_point now);

    void startSession(Clock::time_point now);
    void onInput(std::string_view bytes, Clock::time_point now);
    // Timed work: heater expiry, flood output.
    void onTick(Clock::time_point now);
    // The next moment onTick has something to do (nullopt: nothing timed).
    std::optional<Clock::time_point> nextTick(Clock::time_point now) const;

    OutputQueue& output() { return m_output; }
    ThermalModel& model() { return m_model; }
    const RecordBuilder& builder() const { return m_builder; }

    // All records of this session are out and the line should be dropped now.
    bool hangupDue() const;
    int sessionRecords() const { return m_sessionRecords; }

private:
    void handle(const Command& command, Clock::time_point now);
    void sendLine(std::string line, Clock::time_point now);
    bool recordsExhausted() const;
    void emitRecord(Clock::time_point now);
    void flood(Clock::time_point now);

    SimOptions m_options;
    SimLog& m_log;
    ThermalModel m_model;
    RecordBuilder m_builder;
    FaultInjector m_faults;
    CommandParser m_parser;
    OutputQueue m_output;
    long m_dataRequests = 0;
    int m_sessionRecords = 0;
    std::uint16_t m_sequence = 0;
    double m_floodCredit = 0.0;
    std::optional<Clock::time_point> m_floodAt;
};

} // namespace quorvane::probesim
