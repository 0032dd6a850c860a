#pragma once

#include "analysis/StationRecords.h"

#include <array>
#include <cstddef>
#include <optional>

namespace quorvane::analysis {

// Finds the first record at which every thermistor in use is above the median of the records
// before it (up to ten, at least two) by more than a threshold. A jump already under way at
// the second record cannot be placed: it is no penetration seen. Records are looked at once;
// a change of the thermistors in use starts the search again.
class PenetrationDetector {
public:
    static constexpr std::size_t kMedianRecords = 10;
    static constexpr std::size_t kFewestBefore = 2;

    explicit PenetrationDetector(double thresholdK = 0.05) : m_thresholdK(thresholdK) {}

    // Searches the records not yet looked at, before `endRecord` (the first heated record:
    // the heater's rise is no penetration).
    void update(const StationRecords& records, std::size_t endRecord,
                const std::array<bool, kSensorCount>& inUse);
    void reset(double thresholdK);

    // The first record in the sediment.
    std::optional<std::size_t> record() const { return m_found; }
    // A jump was there but could not be placed (it began before the second record).
    bool unplaced() const { return m_unplaced; }

    // True when every thermistor in use at `index` is above the median of up to ten records
    // before it (from `from` on) by more than the threshold.
    static bool jumpsAt(const StationRecords& records, std::size_t from, std::size_t index,
                        const std::array<bool, kSensorCount>& inUse, double thresholdK);

private:
    double m_thresholdK;
    std::array<bool, kSensorCount> m_inUse{};
    std::size_t m_next = kFewestBefore;
    std::optional<std::size_t> m_found;
    bool m_unplaced = false;
};

} // namespace quorvane::analysis
