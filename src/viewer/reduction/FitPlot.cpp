#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/TitledPlot.h"

#include <qcustomplot.h>

namespace quorvane {

FitPlot::FitPlot(Kind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_plot(new QCustomPlot(this)) {
    TitledPlot::frame(*this, *m_plot, 170);

    m_outside = m_plot->addGraph();
    m_outside->setLineStyle(QCPGraph::lsNone);
    m_outside->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(170, 170, 170), 3));
    m_inWindow = m_plot->addGraph();
    m_inWindow->setLineStyle(QCPGraph::lsNone);
    m_inWindow->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(30, 90, 200), 3));
    m_line = m_plot->addGraph();
    m_line->setPen(QPen(QColor(210, 40, 40), 2));
    // The line's points are in order of x; keep them as given.
    m_plot->setAccessibleName(kind == Kind::Decay ? QStringLiteral("Decay fit plot")
                                                  : QStringLiteral("Heating fit plot"));
    if (kind == Kind::Decay) {
        m_plot->xAxis->setLabel(QStringLiteral("1/(t − t_p)  [1/s]"));
        m_plot->yAxis->setLabel(QStringLiteral("T  [°C]"));
    } else {
        m_plot->xAxis->setLabel(QStringLiteral("ln(t − t_on)  [ln s]"));
        m_plot->yAxis->setLabel(QStringLiteral("ΔT  [K]"));
    }
    QFont small = font();
    small.setPointSize(8);
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setLabelFont(small);
        axis->setTickLabelFont(small);
        axis->setNumberFormat(QStringLiteral("g"));
        axis->ticker()->setTickCount(4);
    }
    // Small numbers of 1/s: few ticks, so that their labels do not run together.
    m_plot->xAxis->ticker()->setTickCount(3);
}

void FitPlot::show(const FitCurves& curves, const QString& title) {
    auto* heading = qobject_cast<QCPTextElement*>(m_plot->plotLayout()->element(0, 0));
    if (heading) {
        heading->setText(title);
    }
    if (!curves.xLabel.isEmpty()) {
        m_plot->xAxis->setLabel(curves.xLabel);
        m_plot->yAxis->setLabel(curves.yLabel);
    }
    m_outside->setData(curves.outside.x, curves.outside.y, true);
    m_inWindow->setData(curves.inWindow.x, curves.inWindow.y, true);
    m_line->setData(curves.line.x, curves.line.y, true);
    bool found = false;
    QCPRange x;
    QCPRange y;
    for (QCPGraph* g : {m_outside, m_inWindow, m_line}) {
        bool ok = false;
        const QCPRange gx = g->getKeyRange(ok);
        if (!ok) {
            continue;
        }
        const QCPRange gy = g->getValueRange(ok);
        if (!found) {
            x = gx;
            y = gy;
            found = true;
        } else {
            x.expand(gx);
            y.expand(gy);
        }
    }
    if (found) {
        const double dx = std::max(x.size() * 0.05, 1e-9);
        const double dy = std::max(y.size() * 0.08, 1e-4);
        m_plot->xAxis->setRange(x.lower - dx, x.upper + dx);
        m_plot->yAxis->setRange(y.lower - dy, y.upper + dy);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

int FitPlot::linePoints() const {
    return m_line->dataCount();
}

int FitPlot::windowPoints() const {
    return m_inWindow->dataCount();
}

} // namespace quorvane
