#include "analysis/StationRecords.h"

namespace quorvane::analysis {

void StationRecords::append(double timeS, const std::array<double, kSensorCount>& temperaturesC,
                            int heater) {
    m_timeS.push_back(timeS);
    for (std::size_t i = 0; i < kSensorCount; ++i) {
        m_temperatureC[i].push_back(temperaturesC[i]);
    }
    m_heater.push_back(heater);
}

void StationRecords::clear() {
    m_timeS.clear();
    for (auto& series : m_temperatureC) {
        series.clear();
    }
    m_heater.clear();
}

} // namespace quorvane::analysis
