#pragma once

#include "analysis/StationRecords.h"

#include <cstddef>
#include <optional>

namespace quorvane::analysis {

// Reads the heater column: the first heated record, the first unheated record after it,
// and the level. Each change lies halfway between the records on either side of it.
// Records are looked at once, as they arrive.
class HeaterTimes {
public:
    void update(const StationRecords& records);
    void reset() { *this = HeaterTimes(); }

    std::optional<std::size_t> onRecord() const { return m_on; }
    std::optional<std::size_t> offRecord() const { return m_off; }
    int level() const { return m_level; }
    // Heated from the first record: the switch-on is not in the records.
    bool onAtStart() const { return m_on && *m_on == 0; }
    bool moreThanOneInterval() const { return m_again; }

    std::optional<double> onS(const StationRecords& records) const;
    std::optional<double> offS(const StationRecords& records) const;

private:
    std::size_t m_next = 0;
    std::optional<std::size_t> m_on;
    std::optional<std::size_t> m_off;
    int m_level = 0;
    bool m_again = false;
};

} // namespace quorvane::analysis
