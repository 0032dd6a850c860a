#pragma once

#include "analysis/StationRecords.h"

#include <array>
#include <cstddef>
#include <optional>

namespace quorvane::analysis {

// Finds the first record at which every thermistor in use is above the median of the ten
// records before it by more than a threshold. Records are looked at once; a change of the
// thermistors in use starts the search again.
class PenetrationDetector {
public:
    static constexpr std::size_t kMedianRecords = 10;

    explicit PenetrationDetector(double thresholdK = 0.05) : m_thresholdK(thresholdK) {}

    // Searches the records not yet looked at, before `endRecord` (the first heated record:
    // the heater's rise is no penetration).
    void update(const StationRecords& records, std::size_t endRecord,
                const std::array<bool, kSensorCount>& inUse);
    void reset(double thresholdK);

    // The first record in the sediment.
    std::optional<std::size_t> record() const { return m_found; }

private:
    bool jumpsAt(const StationRecords& records, std::size_t index) const;

    double m_thresholdK;
    std::array<bool, kSensorCount> m_inUse{};
    std::size_t m_next = kMedianRecords;
    std::optional<std::size_t> m_found;
};

} // namespace quorvane::analysis
