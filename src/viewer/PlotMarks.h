#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <map>

class QCustomPlot;
class QCPAbstractItem;

namespace quorvane {

// Marks that others put on the temperature plot: vertical lines and shaded spans with a label,
// each removed again by its id.
class PlotMarks {
public:
    // `spanLayer`: the layer under the curves that spans go on.
    PlotMarks(QCustomPlot& plot, QString spanLayer);

    int addLine(double utcSeconds, const QColor& color, const QString& label = {});
    int addSpan(double fromUtc, double toUtc, const QColor& color, const QString& label = {});
    void remove(int id);
    void clear();

private:
    QCustomPlot& m_plot;
    QString m_spanLayer;
    std::map<int, QList<QCPAbstractItem*>> m_marks;
    int m_next = 1;
};

} // namespace quorvane
