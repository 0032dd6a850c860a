#pragma once

#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"

#include <QtGlobal>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace quorvane {

// The records of the shown file as the plot draws them: one list of keys (UTC seconds) that
// the five channels share, and per channel the temperatures as floats, kept to the 1 mK the
// viewer shows (a million records take 28 MB). A step of more than twice the log interval, or
// a new header block, puts a break in between: an entry whose temperatures are NaN. The heater
// column is kept as the heater-on spans only.
class RunSeries {
public:
    static constexpr int kChannels = 5;

    struct HeaterSpan {
        double from = 0; // halfway between the last record off and the first one on
        double to = 0;   // halfway to the first record off; the last record while still on
        int level = 0;
        bool open = false;
    };

    RunSeries() = default;

    void clear();
    // Records in file order; `headers` are the file's header blocks so far (each block's
    // log interval decides what is a gap; without one no gaps are drawn).
    void append(const std::vector<LogRecord>& records, const std::vector<LogHeader>& headers);
    // Room for this many entries in all, so that a long reading never copies the lists to
    // grow them (a list that grows is twice in memory for a moment).
    void reserve(std::size_t entries);

    // The temperature as kept: to the third decimal, exactly as the exports write it.
    static float kept(double celsius);

    // Entries: records and breaks, in key order.
    int size() const { return static_cast<int>(m_keys.size()); }
    const std::vector<double>& keys() const { return m_keys; }
    const std::vector<float>& values(int channel) const {
        return m_values[static_cast<std::size_t>(channel)];
    }
    double keyAt(int index) const { return m_keys[static_cast<std::size_t>(index)]; }
    double temperatureAt(int channel, int index) const {
        return m_values[static_cast<std::size_t>(channel)][static_cast<std::size_t>(index)];
    }
    bool isBreak(int index) const { return std::isnan(temperatureAt(0, index)); }
    // The heater column of the record at `utcSeconds`: the level of the span holding it.
    int heaterAt(double utcSeconds) const;
    const std::vector<HeaterSpan>& heaterSpans() const { return m_spans; }

    qint64 recordCount() const { return m_count; }
    std::optional<double> firstTime() const { return m_first; }
    std::optional<double> lastTime() const { return m_last; }
    int gapCount() const { return m_gaps; }

    // The record nearest to `key` (its index), nullopt when empty.
    std::optional<int> nearest(double key) const;
    // The record after (`step` 1) or before (-1) the entry `index`, nullopt at the end.
    std::optional<int> nextRecord(int index, int step) const;
    // The gap (records on either side of a break) that `key` lies in, if any, with the log
    // interval there (0 when unknown).
    struct Gap {
        double from = 0;
        double to = 0;
        double interval = 0;
    };
    std::optional<Gap> gapAround(double key) const;
    // The first entry with a key of `key` or more (size() when there is none).
    int indexAtOrAfter(double key) const;
    // Indices of the entries that are records (not breaks) with keys in [from, to].
    template <typename F> void forEachRecord(double from, double to, F&& visit) const;

private:
    void add(double key, const std::array<float, kChannels>& values);
    void sortFrom(std::size_t start);

    std::vector<double> m_keys;
    std::array<std::vector<float>, kChannels> m_values;
    std::vector<HeaterSpan> m_spans;
    std::map<double, double> m_breakIntervals; // a break's key: the log interval there
    std::optional<double> m_first;
    std::optional<double> m_last;
    int m_lastHeader = -2;
    int m_lastHeater = 0;
    qint64 m_count = 0;
    int m_gaps = 0;
};

template <typename F> void RunSeries::forEachRecord(double from, double to, F&& visit) const {
    for (int i = indexAtOrAfter(from); i < size() && keyAt(i) <= to; ++i) {
        if (!isBreak(i)) {
            visit(i);
        }
    }
}

} // namespace quorvane
