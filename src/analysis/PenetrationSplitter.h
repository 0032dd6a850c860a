#pragma once

#include "analysis/StationRecords.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace quorvane::analysis {

// One lowering often makes several penetrations in one run: the probe is pulled out and
// pushed in again. Each runs from the records in the water before its jump to its pull-out
// (every thermistor falling back to the water's temperature) and is a station of its own.
class PenetrationSplitter {
public:
    struct Span {
        std::size_t begin = 0; // the first record: in the water before the jump, when seen
        std::size_t end = 0;   // one past the last: the pull-out, the next span, or the end
        std::optional<std::size_t> jump; // the first record in the sediment, when seen
        bool pulledOut = false;
    };

    static constexpr double kThresholdK = 0.05;
    // Records in the water after a pull-out before anything else is looked for.
    static constexpr std::size_t kSettleRecords = 2;

    // The penetrations of one run, in order; a run without a jump is one span.
    static std::vector<Span> split(const StationRecords& records, double thresholdK = kThresholdK);

    // The records of one span, with the file's information.
    static StationRecords slice(const StationRecords& records, const Span& span);

private:
    static std::optional<std::size_t> nextJump(const StationRecords& records, std::size_t from,
                                               std::size_t end,
                                               const std::array<bool, kSensorCount>& inUse,
                                               double thresholdK);
    static std::optional<std::size_t> pullOut(const StationRecords& records, std::size_t jump,
                                              std::size_t baseline,
                                              const std::array<bool, kSensorCount>& inUse,
                                              double thresholdK);
    static std::optional<std::size_t> dropBefore(const StationRecords& records, std::size_t from,
                                                 std::size_t end,
                                                 const std::array<bool, kSensorCount>& inUse,
                                                 double thresholdK);
};

} // namespace quorvane::analysis
