#pragma once

class QCustomPlot;
class QWidget;

namespace quorvane {

// The frame the panel's small plots share: the plot fills its widget, writes numbers in the C
// locale whatever the computer's, and has an empty title row on top for show() to fill.
class TitledPlot {
public:
    static void frame(QWidget& owner, QCustomPlot& plot, int minimumHeight);
};

} // namespace quorvane
