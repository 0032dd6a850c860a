#pragma once

#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"

#include <QSharedPointer>
#include <QtGlobal>
#include <array>
#include <optional>
#include <qcustomplot.h>
#include <vector>

namespace quorvane {

// The records of the shown file as the plot holds them: one data container per channel
// (shared with the plot's graphs, so nothing is copied to draw), all with the same keys
// (UTC seconds). A step of more than twice the log interval, or a new header block, puts a
// NaN point in every container: a break in the lines. The heater column is kept as the
// heater-on spans only (a million records would need 16 MB more as a column).
class RunSeries {
public:
    static constexpr int kChannels = 5;

    struct HeaterSpan {
        double from = 0; // halfway between the last record off and the first one on
        double to = 0;   // halfway to the first record off; the last record while still on
        int level = 0;
        bool open = false;
    };

    RunSeries();

    void clear();
    // Records in file order; `headers` are the file's header blocks so far (each block's
    // log interval decides what is a gap; without one no gaps are drawn).
    void append(const std::vector<LogRecord>& records, const std::vector<LogHeader>& headers);

    // Gives back the room the containers grew beyond their data (after a long reading).
    void squeeze();

    QSharedPointer<QCPGraphDataContainer> channel(int index) const {
        return m_channels[static_cast<std::size_t>(index)];
    }
    // Entry `index` of the containers (a record or a break).
    double keyAt(int index) const { return (m_channels[0]->constBegin() + index)->key; }
    double temperatureAt(int channel, int index) const {
        return (m_channels[static_cast<std::size_t>(channel)]->constBegin() + index)->value;
    }
    // The heater column of the record at `utcSeconds`: the level of the span holding it.
    int heaterAt(double utcSeconds) const;
    const std::vector<HeaterSpan>& heaterSpans() const { return m_spans; }

    qint64 recordCount() const { return m_count; }
    std::optional<double> firstTime() const { return m_first; }
    std::optional<double> lastTime() const { return m_last; }
    int gapCount() const { return m_gaps; }

    // The record nearest to `key` (its index in the containers), nullopt when empty.
    std::optional<int> nearest(double key) const;
    // Keys of the containers' entries that are records (not breaks) in [from, to].
    template <typename F> void forEachRecord(double from, double to, F&& visit) const;

private:
    void addBreak(double key);

    std::array<QSharedPointer<QCPGraphDataContainer>, kChannels> m_channels;
    std::vector<HeaterSpan> m_spans;
    std::optional<double> m_first;
    std::optional<double> m_last;
    int m_lastHeader = -2;
    int m_lastHeater = 0;
    qint64 m_count = 0;
    int m_gaps = 0;
    // Appends are gathered per call and added to each container at once.
    std::array<QVector<QCPGraphData>, kChannels> m_batch;
};

template <typename F> void RunSeries::forEachRecord(double from, double to, F&& visit) const {
    const QCPGraphDataContainer& data = *m_channels[0];
    auto it = data.findBegin(from, false);
    const int begin = static_cast<int>(it - data.constBegin());
    for (int i = begin; i < data.size(); ++i) {
        const QCPGraphData& h = *(data.constBegin() + i);
        if (h.key > to) {
            break;
        }
        if (h.key < from || std::isnan(h.value)) {
            continue;
        }
        visit(i);
    }
}

} // namespace quorvane
