#pragma once

#include <QList>
#include <array>
#include <optional>

class QCustomPlot;
class QCPAbstractItem;
class QCPItemRect;
class QCPItemStraightLine;
class QCPItemText;

namespace quorvane {

// What the temperature plot draws over its curves for the person at it: the cursor line, the
// frame that shows the plot has the keyboard, the two picked records (A and B), and a word
// when there is nothing to show.
class PlotOverlay {
public:
    // Adds the layers it draws on: the picks just above the curves, the rest on top.
    explicit PlotOverlay(QCustomPlot& plot);

    void showCursor(std::optional<double> utcSeconds);
    void showFocusFrame(bool on);
    void showPicks(std::optional<double> a, std::optional<double> b);
    std::optional<double> pickKey(int which) const;
    void showEmpty(bool empty);
    QString emptyText() const;
    // Items only the screen shows: exports leave them out.
    QList<QCPAbstractItem*> screenOnly() const;

private:
    QCustomPlot& m_plot;
    QCPItemStraightLine* m_cursor;
    QCPItemRect* m_focusFrame;
    QCPItemText* m_empty;
    std::array<QCPItemStraightLine*, 2> m_pickLines{};
    std::array<QCPItemText*, 2> m_pickLabels{};
};

} // namespace quorvane
