#include "analysis/PenetrationDetector.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

void PenetrationDetector::reset(double thresholdK) {
    m_thresholdK = thresholdK;
    m_next = kFewestBefore;
    m_found.reset();
    m_unplaced = false;
}

void PenetrationDetector::update(const StationRecords& records, std::size_t endRecord,
                                 const std::array<bool, kSensorCount>& inUse) {
    if (inUse != m_inUse) {
        m_inUse = inUse;
        reset(m_thresholdK);
    }
    if (m_found || m_unplaced) {
        return;
    }
    if (std::none_of(m_inUse.begin(), m_inUse.end(), [](bool b) { return b; })) {
        return;
    }
    const std::size_t end = std::min(endRecord, records.size());
    // A jump from the first record to the second began where there is nothing to compare
    // it with: it cannot be placed, and no later record may be taken for it.
    if (m_next == kFewestBefore && end > 1 && jumpsAt(records, 0, 1, m_inUse, m_thresholdK)) {
        m_unplaced = true;
        return;
    }
    for (; m_next < end; ++m_next) {
        if (jumpsAt(records, 0, m_next, m_inUse, m_thresholdK)) {
            m_found = m_next;
            return;
        }
    }
}

bool PenetrationDetector::jumpsAt(const StationRecords& records, std::size_t from,
                                  std::size_t index, const std::array<bool, kSensorCount>& inUse,
                                  double thresholdK) {
    if (index <= from) {
        return false;
    }
    std::array<double, kMedianRecords> before{};
    const std::size_t first = index - std::min(index - from, kMedianRecords);
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (!inUse[s]) {
            continue;
        }
        const auto& series = records.temperatureC(s);
        if (!std::isfinite(series[index])) {
            return false;
        }
        std::size_t n = 0;
        for (std::size_t i = first; i < index; ++i) {
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
        if (!(series[index] - median > thresholdK)) {
            return false;
        }
    }
    return true;
}

} // namespace quorvane::analysis
