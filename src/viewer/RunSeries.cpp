#include "viewer/RunSeries.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <numeric>

namespace quorvane {

namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

} // namespace

float RunSeries::kept(double celsius) {
    if (!std::isfinite(celsius)) {
        return static_cast<float>(celsius);
    }
    const double scaled = celsius * 1000.0;
    const double whole = std::floor(scaled);
    const double rest = scaled - whole;
    if (std::abs(rest - 0.5) > 1e-6 && std::abs(scaled) < 1e8) {
        // -0.0004 is written "-0.000": the sign stays when the value rounds to zero.
        return static_cast<float>(
            std::copysign((rest > 0.5 ? whole + 1.0 : whole) / 1000.0, celsius));
    }
    // Near a tie (or too big for the shortcut): rounded as the exports' std::to_chars rounds.
    char text[400];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, celsius, std::chars_format::fixed, 3);
    double value = celsius;
    if (error == std::errc()) {
        std::from_chars(text, end, value);
    }
    return static_cast<float>(value);
}

void RunSeries::clear() {
    // The room goes back too: a file read after a long one may be short.
    m_keys = {};
    for (auto& v : m_values) {
        v = {};
    }
    m_spans.clear();
    m_breakIntervals.clear();
    m_first.reset();
    m_last.reset();
    m_lastHeader = -2;
    m_lastHeater = 0;
    m_count = 0;
    m_gaps = 0;
}

void RunSeries::reserve(std::size_t entries) {
    if (entries <= m_keys.capacity()) {
        return;
    }
    m_keys.reserve(entries);
    for (auto& v : m_values) {
        v.reserve(entries);
    }
}

void RunSeries::add(double key, const std::array<float, kChannels>& values) {
    m_keys.push_back(key);
    for (std::size_t c = 0; c < values.size(); ++c) {
        m_values[c].push_back(values[c]);
    }
}

void RunSeries::append(const std::vector<LogRecord>& records,
                       const std::vector<LogHeader>& headers) {
    if (records.empty()) {
        return;
    }
    const std::size_t start = m_keys.size();
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
                add((key + *m_last) / 2, {kNan, kNan, kNan, kNan, kNan});
                m_breakIntervals[(key + *m_last) / 2] = interval.value_or(0.0);
                ++m_gaps;
            }
        }
        std::array<float, kChannels> values{};
        for (std::size_t c = 0; c < values.size(); ++c) {
            values[c] = kept(r.temperatureC[c]);
        }
        add(key, values);

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
    if (!std::is_sorted(m_keys.begin() + static_cast<std::ptrdiff_t>(start > 0 ? start - 1 : 0),
                        m_keys.end())) {
        sortFrom(start);
    }
}

void RunSeries::sortFrom(std::size_t start) {
    // Stamps that go back (a clock set back) are sorted in; a stable order keeps the entries
    // of equal stamps in file order.
    const auto newFirst = m_keys.begin() + static_cast<std::ptrdiff_t>(start);
    const double lowest = *std::min_element(newFirst, m_keys.end());
    const auto from = static_cast<std::size_t>(std::upper_bound(m_keys.begin(), newFirst, lowest) -
                                               m_keys.begin());
    std::vector<std::size_t> order(m_keys.size() - from);
    std::iota(order.begin(), order.end(), from);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return m_keys[a] < m_keys[b]; });
    const auto permute = [&](auto& list) {
        auto sorted = list;
        for (std::size_t i = 0; i < order.size(); ++i) {
            sorted[from + i] = list[order[i]];
        }
        list.swap(sorted);
    };
    permute(m_keys);
    for (auto& v : m_values) {
        permute(v);
    }
}

int RunSeries::indexAtOrAfter(double key) const {
    return static_cast<int>(std::lower_bound(m_keys.begin(), m_keys.end(), key) - m_keys.begin());
}

std::optional<int> RunSeries::nearest(double key) const {
    if (m_keys.empty()) {
        return std::nullopt;
    }
    const int at = indexAtOrAfter(key);
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    // A break is one entry between two records: the records on either side are within two.
    for (int i = std::max(0, at - 2); i < std::min(size(), at + 3); ++i) {
        if (isBreak(i)) {
            continue;
        }
        const double distance = std::abs(keyAt(i) - key);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best < 0 ? std::nullopt : std::optional<int>(best);
}

std::optional<int> RunSeries::nextRecord(int index, int step) const {
    for (int i = index + step; i >= 0 && i < size(); i += step) {
        if (!isBreak(i)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<RunSeries::Gap> RunSeries::gapAround(double key) const {
    const int at = indexAtOrAfter(key);
    for (int b : {at - 1, at}) {
        if (b < 0 || b >= size() || !isBreak(b)) {
            continue;
        }
        const auto before = nextRecord(b, -1);
        const auto after = nextRecord(b, 1);
        if (before && after && keyAt(*before) < key && key < keyAt(*after)) {
            const auto interval = m_breakIntervals.find(keyAt(b));
            return Gap{keyAt(*before), keyAt(*after),
                       interval == m_breakIntervals.end() ? 0.0 : interval->second};
        }
    }
    return std::nullopt;
}

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
