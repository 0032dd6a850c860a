#include "analysis/HeaterTimes.h"

namespace quorvane::analysis {

void HeaterTimes::update(const StationRecords& records) {
    const auto& heater = records.heater();
    for (; m_next < heater.size(); ++m_next) {
        const bool on = heater[m_next] > 0;
        if (!m_on) {
            if (on) {
                m_on = m_next;
                m_level = heater[m_next];
            }
        } else if (!m_off) {
            if (!on) {
                m_off = m_next;
            }
        } else if (on) {
            m_again = true;
            m_next = heater.size();
            return;
        }
    }
}

std::optional<double> HeaterTimes::onS(const StationRecords& records) const {
    if (!m_on || *m_on == 0) {
        return std::nullopt;
    }
    const auto& t = records.timeS();
    return (t[*m_on - 1] + t[*m_on]) / 2.0;
}

std::optional<double> HeaterTimes::offS(const StationRecords& records) const {
    if (!m_off) {
        return std::nullopt;
    }
    const auto& t = records.timeS();
    return (t[*m_off - 1] + t[*m_off]) / 2.0;
}

} // namespace quorvane::analysis
