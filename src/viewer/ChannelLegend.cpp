#include "viewer/ChannelLegend.h"

#include "viewer/ChannelGraph.h"
#include "viewer/TemperaturePlot.h"

#include <qcustomplot.h>

namespace quorvane {

ChannelLegend::ChannelLegend(QCustomPlot& plot, const Graphs& graphs, QObject* parent)
    : QObject(parent), m_plot(plot), m_graphs(graphs) {
    // In a row of its own above the plot: inside, it covered the start of the run.
    m_plot.legend->setVisible(true);
    m_plot.legend->setBorderPen(Qt::NoPen);
    m_plot.legend->setBrush(Qt::NoBrush);
    m_plot.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    m_plot.legend->setRowSpacing(0);
    m_plot.legend->setMargins(QMargins(0, 2, 0, 0));
    // One row: the legend from the plot's left edge on, as wide as its entries.
    auto* top = new QCPLayoutGrid;
    m_plot.plotLayout()->insertRow(0);
    m_plot.plotLayout()->addElement(0, 0, top);
    m_plot.plotLayout()->setRowStretchFactor(0, 0.001);
    m_plot.plotLayout()->setRowSpacing(0);
    top->addElement(0, 0, m_plot.legend);
    top->addElement(0, 1, new QCPLayoutElement(&m_plot));
    top->setColumnStretchFactor(0, 0.001);
    auto* edge = new QCPMarginGroup(&m_plot);
    m_plot.axisRect()->setMarginGroup(QCP::msLeft, edge);
    top->setMarginGroup(QCP::msLeft, edge);
    connect(&m_plot, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) { legendClicked(item); });
}

QCPPlottableLegendItem* ChannelLegend::item(int channel) const {
    if (channel < 0 || channel >= RunSeries::kChannels) {
        return nullptr;
    }
    return m_plot.legend->itemWithPlottable(m_graphs[static_cast<std::size_t>(channel)]);
}

void ChannelLegend::setShown(int channel, bool shown) {
    QCPPlottableLegendItem* entry = item(channel);
    if (!entry || this->shown(channel) == shown) {
        return;
    }
    m_graphs[static_cast<std::size_t>(channel)]->setVisible(shown);
    entry->setTextColor(shown ? Qt::black : Qt::gray);
    emit shownChanged();
}

bool ChannelLegend::shown(int channel) const {
    return item(channel) && m_graphs[static_cast<std::size_t>(channel)]->visible();
}

void ChannelLegend::setNote(int channel, const QString& note) {
    if (!item(channel)) {
        return;
    }
    QString name =
        QString::fromLatin1(TemperaturePlot::kChannelNames[static_cast<std::size_t>(channel)]);
    if (!note.isEmpty()) {
        name += QLatin1Char(' ') + note;
    }
    ChannelGraph* graph = m_graphs[static_cast<std::size_t>(channel)];
    if (name != graph->name()) {
        graph->setName(name);
        m_plot.replot(QCustomPlot::rpQueuedReplot);
    }
}

QString ChannelLegend::text(int channel) const {
    return item(channel) ? m_graphs[static_cast<std::size_t>(channel)]->name() : QString();
}

QRect ChannelLegend::entryRect(int channel) const {
    const QCPPlottableLegendItem* entry = item(channel);
    return entry ? entry->outerRect() : QRect();
}

bool ChannelLegend::contains(const QPoint& pos) const {
    return m_plot.legend->outerRect().contains(pos);
}

void ChannelLegend::legendClicked(QCPAbstractLegendItem* clicked) {
    for (int c = 0; c < RunSeries::kChannels; ++c) {
        if (clicked && clicked == item(c)) {
            emit this->clicked(c);
        }
    }
}

} // namespace quorvane
