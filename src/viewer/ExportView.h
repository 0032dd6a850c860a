#pragma once

#include <QList>
#include <QPointF>
#include <vector>

class QCustomPlot;
class QCPAbstractItem;
class QCPItemPosition;

namespace quorvane {

// While it lives, the plot is as an export shows it: items that only the screen shows (the
// cursor, the focus frame) are hidden, and shaded spans and labels are cut to the time range
// in view (an SVG painter clips nothing, so they would cover the axes). All is put back after.
class ExportView {
public:
    ExportView(QCustomPlot& plot, const QList<QCPAbstractItem*>& screenOnly);
    ~ExportView();
    ExportView(const ExportView&) = delete;
    ExportView& operator=(const ExportView&) = delete;

private:
    struct Moved {
        QCPItemPosition* position;
        QPointF coords;
    };
    QCustomPlot& m_plot;
    std::vector<QCPAbstractItem*> m_hidden;
    std::vector<Moved> m_moved;
};

} // namespace quorvane
