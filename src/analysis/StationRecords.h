#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace quorvane::analysis {

inline constexpr std::size_t kSensorCount = 5;

// The records of one station as the reduction sees them: times in seconds (UTC, since
// 1970), the five temperatures in °C (NaN where a value could not be read) and the heater
// column. Independent of how the records were read.
class StationRecords {
public:
    void append(double timeS, const std::array<double, kSensorCount>& temperaturesC, int heater);
    void clear();

    std::size_t size() const { return m_timeS.size(); }
    bool empty() const { return m_timeS.empty(); }
    const std::vector<double>& timeS() const { return m_timeS; }
    const std::vector<double>& temperatureC(std::size_t sensor) const {
        return m_temperatureC[sensor];
    }
    const std::vector<int>& heater() const { return m_heater; }

    // From the file's header; the reduction falls back on the records' spacing when unset.
    double logIntervalS = 0.0;
    QString serial;
    QString fileName;
    int badLines = 0;

private:
    std::vector<double> m_timeS;
    std::array<std::vector<double>, kSensorCount> m_temperatureC;
    std::vector<int> m_heater;
};

} // namespace quorvane::analysis
