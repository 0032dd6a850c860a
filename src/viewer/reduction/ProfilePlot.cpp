#include "viewer/reduction/ProfilePlot.h"
#include "viewer/reduction/TitledPlot.h"

#include "viewer/reduction/ResultsText.h"

#include <qcustomplot.h>

namespace quorvane {

namespace {

const QColor kUsed(30, 90, 200);
const QColor kLeftOut(150, 150, 150);
const QColor kLine(210, 40, 40);

QCPCurve* pointsCurve(QCustomPlot* plot, const QColor& color, bool filled) {
    auto* curve = new QCPCurve(plot->xAxis, plot->yAxis);
    curve->setLineStyle(QCPCurve::lsNone);
    QCPScatterStyle style(QCPScatterStyle::ssCircle, 7);
    style.setPen(QPen(color, 1.5));
    style.setBrush(filled ? QBrush(color) : QBrush(Qt::white));
    curve->setScatterStyle(style);
    return curve;
}

QCPErrorBars* errorBars(QCustomPlot* plot, QCPCurve* curve, const QColor& color) {
    auto* bars = new QCPErrorBars(plot->xAxis, plot->yAxis);
    bars->setDataPlottable(curve);
    bars->setErrorType(QCPErrorBars::etKeyError);
    bars->setPen(QPen(color, 1));
    bars->setWhiskerWidth(5);
    return bars;
}

} // namespace

ProfilePlot::ProfilePlot(Kind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_plot(new QCustomPlot(this)) {
    TitledPlot::frame(*this, *m_plot, 200);

    m_line = new QCPCurve(m_plot->xAxis, m_plot->yAxis);
    m_line->setPen(QPen(kLine, 1.5));
    m_leftOut = pointsCurve(m_plot, kLeftOut, false);
    m_used = pointsCurve(m_plot, kUsed, true);
    m_leftOutErrors = errorBars(m_plot, m_leftOut, kLeftOut);
    m_usedErrors = errorBars(m_plot, m_used, kUsed);

    // Deeper is lower, as in the sediment.
    m_plot->yAxis->setRangeReversed(true);
    m_plot->xAxis->setLabel(QStringLiteral("T_eq  [°C]"));
    if (kind == Kind::Depth) {
        m_plot->yAxis->setLabel(QStringLiteral("z·cos θ  [m]"));
        m_plot->setAccessibleName(QStringLiteral("Temperature against depth"));
    } else {
        m_plot->yAxis->setLabel(QStringLiteral("R  [m² K/W]"));
        m_plot->setAccessibleName(QStringLiteral("Bullard plot: temperature against thermal "
                                                 "resistance"));
    }
    QFont small = font();
    small.setPointSize(8);
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setLabelFont(small);
        axis->setTickLabelFont(small);
        axis->setNumberFormat(QStringLiteral("g"));
        axis->ticker()->setTickCount(4);
    }
}

void ProfilePlot::show(const analysis::ReductionResults& results) {
    m_points =
        m_kind == Kind::Depth ? ProfilePoints::depth(results) : ProfilePoints::bullard(results);
    QVector<double> usedT, usedX, usedErr, outT, outX, outErr;
    m_plot->clearItems();
    QFont small = font();
    small.setPointSize(8);
    for (const ProfilePoints::Point& p : m_points.points) {
        (p.used ? usedT : outT) << p.tC;
        (p.used ? usedX : outX) << p.x;
        (p.used ? usedErr : outErr) << p.errC;
        auto* label = new QCPItemText(m_plot);
        label->position->setCoords(p.tC, p.x);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setPadding(QMargins(8, 0, 0, 0));
        label->setFont(small);
        label->setColor(p.used ? QColor(40, 40, 40) : kLeftOut.darker(130));
        label->setText(p.used ? p.name : p.name + QStringLiteral(" (") + p.note + QLatin1Char(')'));
        label->setClipToAxisRect(false);
    }
    m_used->setData(usedT, usedX);
    m_leftOut->setData(outT, outX);
    m_usedErrors->setData(usedErr);
    m_leftOutErrors->setData(outErr);

    const auto range = m_points.xRange();
    if (range && m_points.slope && m_points.interceptC) {
        const double t0 = *m_points.interceptC + *m_points.slope * range->first;
        const double t1 = *m_points.interceptC + *m_points.slope * range->second;
        m_line->setData({t0, t1}, {range->first, range->second});
    } else {
        m_line->data()->clear();
    }

    QString title;
    if (m_kind == Kind::Depth) {
        title = QStringLiteral("Gradient ") +
                (results.gradientKPerM
                     ? ResultsText::withError(
                           results.gradientKPerM.value() * 1000.0,
                           results.gradientErrKPerM
                               ? std::optional<double>(*results.gradientErrKPerM * 1000.0)
                               : std::nullopt,
                           2) +
                           QStringLiteral(" mK/m")
                     : QString::fromUtf8(ResultsText::kDash));
    } else {
        title = QStringLiteral("Bullard: ") +
                (results.heatFlowBullardMWPerM2
                     ? ResultsText::withError(results.heatFlowBullardMWPerM2,
                                              results.heatFlowBullardErrMWPerM2, 1) +
                           QStringLiteral(" mW/m²")
                     : QString::fromUtf8(ResultsText::kDash));
        if (!m_points.missing.isEmpty()) {
            QStringList names;
            for (const QString& m : m_points.missing) {
                names << m.section(QLatin1Char(':'), 0, 0);
            }
            title +=
                QStringLiteral(" (without ") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
    }
    if (auto* heading = qobject_cast<QCPTextElement*>(m_plot->plotLayout()->element(0, 0))) {
        heading->setText(title);
    }

    // Room to the right of the points for their names, and a margin around them.
    if (!m_points.points.isEmpty()) {
        double tLo = m_points.points.front().tC;
        double tHi = tLo;
        double xLo = m_points.points.front().x;
        double xHi = xLo;
        for (const ProfilePoints::Point& p : m_points.points) {
            tLo = std::min(tLo, p.tC - p.errC);
            tHi = std::max(tHi, p.tC + p.errC);
            xLo = std::min(xLo, p.x);
            xHi = std::max(xHi, p.x);
        }
        const double dt = std::max(tHi - tLo, 1e-3);
        const double dx = std::max(xHi - xLo, 1e-3);
        m_plot->xAxis->setRange(tLo - 0.08 * dt, tHi + 0.45 * dt);
        m_plot->yAxis->setRange(xLo - 0.1 * dx, xHi + 0.1 * dx);
    } else {
        m_plot->xAxis->setRange(0, 1);
        m_plot->yAxis->setRange(0, 1);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

QList<QPointF> ProfilePlot::linePoints() const {
    QList<QPointF> out;
    for (auto it = m_line->data()->constBegin(); it != m_line->data()->constEnd(); ++it) {
        out << QPointF(it->key, it->value);
    }
    return out;
}

QStringList ProfilePlot::labels() const {
    QStringList out;
    for (int i = 0; i < m_plot->itemCount(); ++i) {
        if (auto* text = qobject_cast<QCPItemText*>(m_plot->item(i))) {
            out << text->text();
        }
    }
    return out;
}

QString ProfilePlot::title() const {
    auto* heading = qobject_cast<QCPTextElement*>(m_plot->plotLayout()->element(0, 0));
    return heading ? heading->text() : QString();
}

} // namespace quorvane
