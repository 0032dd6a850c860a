#pragma once

#include "OutputQueue.h"
#include "RecordBuilder.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::probesim {

enum class FaultMode { Garbage, LoneCr, WrongLength, BadHex, EqualRefs };

std::string_view faultName(FaultMode mode);

struct FaultConfig {
    std::vector<FaultMode> modes; // used in turn on every faulty record
    int every = 3;                // every n-th record is faulty (when modes are chosen)
    bool split = false;           // every record line goes out in two writes
    std::chrono::milliseconds splitDelay{300};
};

// Turns a record's readings into the chunks that go on the line, spoiling every n-th one
// as configured, with the log lines that say what was sent: "SENT-GOOD <payload>" for a
// record the program must accept, "FAULT <mode>" then "SENT-BAD <line>" for the rest.
class FaultInjector {
public:
    FaultInjector(FaultConfig config, std::uint64_t seed);

    struct Emission {
        std::vector<Chunk> chunks;
        bool good = true;               // the record itself decodes
        std::optional<FaultMode> fault; // what was done to this record, if anything
    };
    Emission emission(const Readings& readings);

    // Random bytes without CR or LF, so they never complete a line (the flood's garbage).
    std::string garbageBytes(std::size_t length) { return randomBytes(length, "\r\n"); }
    // Text for a garbage line: no CR or LF, and no '#' or ':', so the line can be neither a
    // serial-number reply nor the start of a record.
    std::string garbageLineText(std::size_t length) { return randomBytes(length, "\r\n#:"); }

    int recordCount() const { return m_records; }

private:
    std::string randomBytes(std::size_t length, std::string_view excluded);
    std::vector<Chunk> splitLine(std::string line, std::vector<std::string> logs);
    static std::vector<std::string> badLogs(FaultMode mode, std::string_view bytes);

    FaultConfig m_config;
    std::mt19937_64 m_rng;
    int m_records = 0;
    int m_faults = 0;
};

} // namespace quorvane::probesim
