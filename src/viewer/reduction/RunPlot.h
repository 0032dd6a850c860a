#pragma once

#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"

#include <QWidget>

#include <optional>
#include <utility>

class QCustomPlot;

namespace quorvane {

// The whole run's five temperatures for the report, whatever the window's zoom, with one
// penetration's marks: its records' span, the penetration, the heater's switch-on and -off,
// the heater-on shading and the fit windows. A long run is drawn from each pixel column's
// first, lowest, highest and last value, so a day of records takes a few thousand points.
class RunPlot : public QWidget {
    Q_OBJECT
public:
    using Span = std::pair<double, double>; // UTC seconds

    explicit RunPlot(QWidget* parent = nullptr);

    // `span`: the penetration's records within the run, when the run holds more than it.
    void show(const analysis::StationRecords& records, const analysis::ReductionResults& results,
              std::optional<Span> span = std::nullopt);
    QCustomPlot& customPlot() { return *m_plot; }
    // Points drawn for a channel, breaks included.
    int pointCount(int channel) const;

    static constexpr int kColumns = 1500;

private:
    void addLine(double utcS, const QColor& color, Qt::PenStyle style, const QString& label);
    void addSpan(double fromS, double toS, const QColor& color, const QString& label, int row);

    QCustomPlot* m_plot;
};

} // namespace quorvane
