#include "viewer/PlotMarks.h"

#include <qcustomplot.h>

namespace quorvane {

PlotMarks::PlotMarks(QCustomPlot& plot, QString spanLayer)
    : m_plot(plot), m_spanLayer(std::move(spanLayer)) {}

int PlotMarks::addLine(double utcSeconds, const QColor& color, const QString& label) {
    QList<QCPAbstractItem*> items;
    auto* line = new QCPItemStraightLine(&m_plot);
    line->setPen(QPen(color, 1.5));
    line->point1->setCoords(utcSeconds, 0);
    line->point2->setCoords(utcSeconds, 1);
    items.append(line);
    if (!label.isEmpty()) {
        auto* text = new QCPItemText(&m_plot);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(utcSeconds, 0.01);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setPadding(QMargins(3, 0, 0, 0));
        text->setText(label);
        text->setColor(color);
        items.append(text);
    }
    const int id = m_next++;
    m_marks[id] = items;
    m_plot.replot(QCustomPlot::rpQueuedReplot);
    return id;
}

int PlotMarks::addSpan(double fromUtc, double toUtc, const QColor& color, const QString& label) {
    QList<QCPAbstractItem*> items;
    auto* rect = new QCPItemRect(&m_plot);
    rect->setLayer(m_spanLayer);
    rect->setPen(Qt::NoPen);
    rect->setBrush(color);
    rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->topLeft->setCoords(fromUtc, 0);
    rect->bottomRight->setCoords(toUtc, 1);
    items.append(rect);
    if (!label.isEmpty()) {
        auto* text = new QCPItemText(&m_plot);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(fromUtc, 0.99);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        text->setText(label);
        text->setColor(color.darker(250));
        items.append(text);
    }
    const int id = m_next++;
    m_marks[id] = items;
    m_plot.replot(QCustomPlot::rpQueuedReplot);
    return id;
}

void PlotMarks::remove(int id) {
    const auto it = m_marks.find(id);
    if (it == m_marks.end()) {
        return;
    }
    for (QCPAbstractItem* item : it->second) {
        m_plot.removeItem(item);
    }
    m_marks.erase(it);
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void PlotMarks::clear() {
    while (!m_marks.empty()) {
        remove(m_marks.begin()->first);
    }
}

} // namespace quorvane
