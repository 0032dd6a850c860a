#include "viewer/PlotOverlay.h"

#include <qcustomplot.h>

namespace quorvane {

namespace {

const QColor kPick(0x20, 0x20, 0x20);
const QString kOverlay = QStringLiteral("overlay");
const QString kPickLayer = QStringLiteral("picks");

// The layers exist before the items are put on them.
QCustomPlot& withLayers(QCustomPlot& plot) {
    if (!plot.layer(kPickLayer)) {
        plot.addLayer(kPickLayer, plot.layer(QStringLiteral("main")), QCustomPlot::limAbove);
    }
    // The cursor moves with the mouse: its layer is redrawn alone.
    plot.layer(kOverlay)->setMode(QCPLayer::lmBuffered);
    return plot;
}

} // namespace

PlotOverlay::PlotOverlay(QCustomPlot& plot)
    : m_plot(withLayers(plot)), m_cursor(new QCPItemStraightLine(&plot)),
      m_focusFrame(new QCPItemRect(&plot)), m_empty(new QCPItemText(&plot)) {
    const QString& pickLayer = kPickLayer;
    m_cursor->setLayer(kOverlay);
    m_cursor->setPen(QPen(Qt::gray, 1, Qt::DashLine));
    m_cursor->setVisible(false);

    m_focusFrame->setLayer(kOverlay);
    for (QCPItemPosition* p : {m_focusFrame->topLeft, m_focusFrame->bottomRight}) {
        p->setType(QCPItemPosition::ptAxisRectRatio);
    }
    m_focusFrame->topLeft->setCoords(0, 0);
    m_focusFrame->bottomRight->setCoords(1, 1);
    m_focusFrame->setPen(QPen(plot.palette().color(QPalette::Highlight), 3));
    m_focusFrame->setVisible(false);

    for (std::size_t i = 0; i < m_pickLines.size(); ++i) {
        m_pickLines[i] = new QCPItemStraightLine(&plot);
        m_pickLines[i]->setLayer(pickLayer);
        m_pickLines[i]->setPen(QPen(kPick, 1, Qt::DashDotLine));
        m_pickLines[i]->setVisible(false);
        m_pickLabels[i] = new QCPItemText(&plot);
        m_pickLabels[i]->setLayer(pickLayer);
        m_pickLabels[i]->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        m_pickLabels[i]->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        m_pickLabels[i]->setPadding(QMargins(3, 1, 3, 1));
        m_pickLabels[i]->setBrush(QColor(255, 255, 255, 230));
        m_pickLabels[i]->setPen(QPen(kPick));
        m_pickLabels[i]->setColor(kPick);
        m_pickLabels[i]->setText(i == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        m_pickLabels[i]->setVisible(false);
    }

    m_empty->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_empty->position->setCoords(0.5, 0.5);
    m_empty->setText(QStringLiteral("No records to show"));
    m_empty->setColor(Qt::gray);
}

void PlotOverlay::showCursor(std::optional<double> utcSeconds) {
    m_cursor->setVisible(utcSeconds.has_value());
    if (utcSeconds) {
        m_cursor->point1->setCoords(*utcSeconds, 0);
        m_cursor->point2->setCoords(*utcSeconds, 1);
    }
    m_plot.layer(kOverlay)->replot();
}

void PlotOverlay::showFocusFrame(bool on) {
    m_focusFrame->setVisible(on);
    m_plot.layer(kOverlay)->replot();
}

void PlotOverlay::showPicks(std::optional<double> a, std::optional<double> b) {
    const std::array<std::optional<double>, 2> keys = {a, b};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        m_pickLines[i]->setVisible(keys[i].has_value());
        m_pickLabels[i]->setVisible(keys[i].has_value());
        if (keys[i]) {
            m_pickLines[i]->point1->setCoords(*keys[i], 0);
            m_pickLines[i]->point2->setCoords(*keys[i], 1);
            m_pickLabels[i]->position->setCoords(*keys[i], 0.0);
        }
    }
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

std::optional<double> PlotOverlay::pickKey(int which) const {
    const QCPItemStraightLine* line = m_pickLines[static_cast<std::size_t>(which)];
    return line->visible() ? std::optional<double>(line->point1->key()) : std::nullopt;
}

void PlotOverlay::showEmpty(bool empty) {
    m_empty->setVisible(empty);
}

QString PlotOverlay::emptyText() const {
    return m_empty->visible() ? m_empty->text() : QString();
}

QList<QCPAbstractItem*> PlotOverlay::screenOnly() const {
    return {m_cursor, m_focusFrame};
}

} // namespace quorvane
