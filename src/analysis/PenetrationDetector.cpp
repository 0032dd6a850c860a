#include "analysis/PenetrationDetector.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

void PenetrationDetector::reset(double thresholdK) {
    m_thresholdK = thresholdK;
    m_next = kMedianRecords;
    m_found.reset();
}

void PenetrationDetector::update(const StationRecords& records, std::size_t endRecord,
                                 const std::array<bool, kSensorCount>& inUse) {
    if (inUse != m_inUse) {
        m_inUse = inUse;
        reset(m_thresholdK);
    }
    if (m_found) {
        return;
    }
    if (std::none_of(m_inUse.begin(), m_inUse.end(), [](bool b) { return b; })) {
        return;
    }
    const std::size_t end = std::min(endRecord, records.size());
    for (; m_next < end; ++m_next) {
        if (jumpsAt(records, m_next)) {
            m_found = m_next;
            return;
        }
    }
}

bool PenetrationDetector::jumpsAt(const StationRecords& records, std::size_t index) const {
    std::array<double, kMedianRecords> before{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (!m_inUse[s]) {
            continue;
        }
        const auto& series = records.temperatureC(s);
        if (!std::isfinite(series[index])) {
            return false;
        }
        std::size_t n = 0;
        for (std::size_t i = index - kMedianRecords; i < index; ++i) {
            if (std::isfinite(series[i])) {
                before[n++] = series[i];
            }
        }
        if (n == 0) {
            return false;
        }
        const auto middle = before.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(before.begin(), middle, before.begin() + static_cast<std::ptrdiff_t>(n));
        double median = *middle;
        if (n % 2 == 0) {
            median = (median + *std::max_element(before.begin(), middle)) / 2.0;
        }
        if (!(series[index] - median > m_thresholdK)) {
            return false;
        }
    }
    return true;
}

} // namespace quorvane::analysis
