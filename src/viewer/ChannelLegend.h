#pragma once

#include "viewer/RunSeries.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <array>

class QCPAbstractLegendItem;
class QCPPlottableLegendItem;
class QCustomPlot;

namespace quorvane {

class ChannelGraph;

// The temperature plot's legend of the five thermistors: a row of its own above the plot; a
// click on an entry asks for its thermistor to be hidden or shown again. A hidden thermistor
// keeps its entry, greyed, and an entry may carry a mark after its name (such as ✕ for one
// left out of the reduction).
class ChannelLegend : public QObject {
    Q_OBJECT
public:
    using Graphs = std::array<ChannelGraph*, RunSeries::kChannels>;

    ChannelLegend(QCustomPlot& plot, const Graphs& graphs, QObject* parent = nullptr);

    void setShown(int channel, bool shown);
    bool shown(int channel) const;
    void setNote(int channel, const QString& note);
    QString text(int channel) const;
    // Where an entry is on the plot widget.
    QRect entryRect(int channel) const;
    // A point on the legend (a click there is no pick).
    bool contains(const QPoint& pos) const;

signals:
    void clicked(int channel);
    void shownChanged();

private:
    QCPPlottableLegendItem* item(int channel) const;
    void legendClicked(QCPAbstractLegendItem* item);

    QCustomPlot& m_plot;
    Graphs m_graphs;
};

} // namespace quorvane
