#pragma once

#include "viewer/reduction/FitCurves.h"

#include <QWidget>

class QCustomPlot;
class QCPGraph;

namespace quorvane {

// A small plot of one thermistor's fit: the records (those the fit used stand out) and the
// fit line, with the axes the curves name (FitCurves): the decay's T against its own x, the
// heater's rise ΔT against the time since the pulse or ln(t − t_on).
class FitPlot : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Decay, Heating };

    explicit FitPlot(Kind kind, QWidget* parent = nullptr);

    void show(const FitCurves& curves, const QString& title);
    Kind kind() const { return m_kind; }
    QCustomPlot& customPlot() { return *m_plot; }
    int linePoints() const;
    int windowPoints() const;

private:
    Kind m_kind;
    QCustomPlot* m_plot;
    QCPGraph* m_outside;
    QCPGraph* m_inWindow;
    QCPGraph* m_line;
};

} // namespace quorvane
