#include "viewer/RunSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane {

RunSeries::RunSeries() {
    for (auto& c : m_channels) {
        c = QSharedPointer<QCPGraphDataContainer>::create();
    }
}

void RunSeries::clear() {
    for (auto& c : m_channels) {
        c->clear();
    }
    m_spans.clear();
    m_first.reset();
    m_last.reset();
    m_lastHeader = -2;
    m_lastHeater = 0;
    m_count = 0;
    m_gaps = 0;
}

void RunSeries::squeeze() {
    for (auto& c : m_channels) {
        c->squeeze(true, true);
    }
    for (auto& b : m_batch) {
        b = QVector<QCPGraphData>();
    }
}

void RunSeries::addBreak(double key) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto& b : m_batch) {
        b.append(QCPGraphData(key, nan));
    }
    ++m_gaps;
}

void RunSeries::append(const std::vector<LogRecord>& records,
                       const std::vector<LogHeader>& headers) {
    if (records.empty()) {
        return;
    }
    for (auto& b : m_batch) {
        b.clear();
        b.reserve(static_cast<int>(records.size()) + 8);
    }
    for (const LogRecord& r : records) {
        const double key = static_cast<double>(r.utcSeconds);
        if (m_last) {
            const bool newBlock = r.headerIndex != m_lastHeader;
            const std::optional<double> interval =
                r.headerIndex >= 0 && r.headerIndex < static_cast<int>(headers.size())
                    ? headers[static_cast<std::size_t>(r.headerIndex)].logIntervalSeconds
                    : std::nullopt;
            const bool gap = interval && *interval > 0 && key - *m_last > 2 * *interval;
            if (newBlock || gap) {
                addBreak((key + *m_last) / 2);
            }
        }
        for (int c = 0; c < kChannels; ++c) {
            m_batch[static_cast<std::size_t>(c)].append(
                QCPGraphData(key, r.temperatureC[static_cast<std::size_t>(c)]));
        }

        // Heater spans from the changes of the heater column.
        const bool on = r.heater > 0;
        const bool wasOn = m_lastHeater > 0;
        if (on && (!wasOn || r.heater != m_lastHeater || r.headerIndex != m_lastHeader)) {
            if (wasOn && !m_spans.empty() && m_spans.back().open) {
                m_spans.back().open = false;
                m_spans.back().to = m_last ? (key + *m_last) / 2 : key;
            }
            const double from = m_last && r.headerIndex == m_lastHeader ? (key + *m_last) / 2 : key;
            m_spans.push_back({from, key, r.heater, true});
        } else if (on) {
            m_spans.back().to = key;
        } else if (wasOn && !m_spans.empty() && m_spans.back().open) {
            m_spans.back().open = false;
            m_spans.back().to = m_last ? (key + *m_last) / 2 : key;
        }
        m_lastHeater = r.heater;
        m_lastHeader = r.headerIndex;
        if (!m_first) {
            m_first = key;
        }
        m_last = key;
        ++m_count;
    }
    // Stamps that go back (a clock set back) are sorted in; the same stable order in every
    // container keeps the channels of one record at one index.
    auto byKey = [](const QCPGraphData& a, const QCPGraphData& b) { return a.key < b.key; };
    if (!std::is_sorted(m_batch[0].cbegin(), m_batch[0].cend(), byKey)) {
        for (auto& b : m_batch) {
            std::stable_sort(b.begin(), b.end(), byKey);
        }
    }
    for (int c = 0; c < kChannels; ++c) {
        m_channels[static_cast<std::size_t>(c)]->add(m_batch[static_cast<std::size_t>(c)], true);
    }
}

std::optional<int> RunSeries::nearest(double key) const {
    const QCPGraphDataContainer& data = *m_channels[0];
    if (data.isEmpty()) {
        return std::nullopt;
    }
    auto it = data.findBegin(key, false);
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    const int at = static_cast<int>(it - data.constBegin());
    for (int i = std::max(0, at - 2); i < std::min(data.size(), at + 3); ++i) {
        const QCPGraphData& d = *(data.constBegin() + i);
        if (std::isnan(d.value)) {
            continue;
        }
        const double distance = std::abs(d.key - key);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best < 0 ? std::nullopt : std::optional<int>(best);
}

} // namespace quorvane

namespace quorvane {

int RunSeries::heaterAt(double utcSeconds) const {
    // The spans are in time order; the last one starting at or before the time.
    auto it = std::upper_bound(m_spans.begin(), m_spans.end(), utcSeconds,
                               [](double t, const HeaterSpan& s) { return t < s.from; });
    if (it == m_spans.begin()) {
        return 0;
    }
    --it;
    return utcSeconds <= it->to ? it->level : 0;
}

} // namespace quorvane
