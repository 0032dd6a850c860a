#pragma once

#include "viewer/reduction/ProfilePoints.h"

#include <QWidget>

class QCustomPlot;
class QCPCurve;
class QCPErrorBars;

namespace quorvane {

// A station's T_eq against depth: the vertical depth z·cos θ (Depth, with the gradient's line)
// or the cumulative thermal resistance (Bullard, with the line of Bullard's heat flow), both
// increasing downwards, with ±T_eq error bars. Thermistors left out of the fit are hollow and
// grey, and every point is named.
class ProfilePlot : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Depth, Bullard };

    explicit ProfilePlot(Kind kind, QWidget* parent = nullptr);

    void show(const analysis::ReductionResults& results);
    Kind kind() const { return m_kind; }
    QCustomPlot& customPlot() { return *m_plot; }
    const ProfilePoints& points() const { return m_points; }
    // What is drawn, for the tests: the line's ends as (T, x), and the labels' texts.
    QList<QPointF> linePoints() const;
    QStringList labels() const;
    QString title() const;

private:
    Kind m_kind;
    QCustomPlot* m_plot;
    QCPCurve* m_used;
    QCPCurve* m_leftOut;
    QCPErrorBars* m_usedErrors;
    QCPErrorBars* m_leftOutErrors;
    QCPCurve* m_line;
    ProfilePoints m_points;
};

} // namespace quorvane
