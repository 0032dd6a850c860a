#pragma once

#include "viewer/PlotMarks.h"
#include "viewer/PlotOverlay.h"
#include "viewer/RunSeries.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>
#include <qcustomplot.h>

namespace quorvane {

class ChannelGraph;
class ChannelLegend;
class ElapsedTicker;
class PlotKeys;
class UtcTicker;

// The plot of the five temperatures against UTC time: shaded heater-on intervals, follow
// (the newest data kept in sight, given up by any zoom or pan), y auto-scale or fixed
// limits, a crosshair, the two picked records, and marker lines and shaded spans that others
// may add. The keyboard works it too (PlotKeys).
class TemperaturePlot : public QWidget {
    Q_OBJECT
public:
    enum class TimeAxis { Utc, SecondsSinceFirst };
    static const std::array<const char*, RunSeries::kChannels> kChannelNames;

    explicit TemperaturePlot(RunSeries& series, QWidget* parent = nullptr);
    ~TemperaturePlot() override;

    // The series grew, shrank or started over: shading, follow, y range, then a replot.
    void dataChanged();

    void setFollow(bool on);
    bool follow() const { return m_follow; }
    void setAutoY(bool on);
    bool autoY() const { return m_autoY; }
    void setFixedY(double lower, double upper);
    void setTimeAxis(TimeAxis axis);
    TimeAxis timeAxis() const { return m_timeAxis; }
    // The keys (UTC seconds) in view.
    QCPRange visibleRange() const;
    void setVisibleRange(double from, double to);

    // What the keys do (each but the last ends follow): the view moves by a share of its
    // width, or gets `factor` times as wide around `centre`; the whole run in view.
    void panBy(double shareOfWidth);
    void zoomBy(double factor, double centre);
    void showWholeRun();
    // The cursor line at a key (the mouse's or the keyboard's); nullopt hides it.
    void showCursor(std::optional<double> utcSeconds);
    std::optional<double> cursorKey() const { return m_cursorKey; }
    // The read-out's picks, marked A and B.
    void showPicks(std::optional<double> a, std::optional<double> b) { m_overlay.showPicks(a, b); }
    std::optional<double> pickKey(int which) const { return m_overlay.pickKey(which); }
    // Picks the record at a key, as a click there does.
    void pickAt(double utcSeconds) { emit pointPicked(utcSeconds); }
    // The frame that shows the plot has the keyboard.
    void showFocusFrame(bool on) { m_overlay.showFocusFrame(on); }

    // Marks for others (the reduction): a vertical line or a shaded span with a label.
    // The id removes it again.
    int addMarkerLine(double utcSeconds, const QColor& color, const QString& label = {}) {
        return m_marks.addLine(utcSeconds, color, label);
    }
    int addShadedSpan(double fromUtc, double toUtc, const QColor& color,
                      const QString& label = {}) {
        return m_marks.addSpan(fromUtc, toUtc, color, label);
    }
    void removeMark(int id) { m_marks.remove(id); }
    void clearMarks() { m_marks.clear(); }

    bool savePng(const QString& path, int width, int height);
    bool saveSvg(const QString& path, int width, int height);
    // Items only the screen shows (cursor, focus frame), for an export of the plot elsewhere.
    QList<QCPAbstractItem*> screenOnlyItems() const { return m_overlay.screenOnly(); }

    QCustomPlot& customPlot() { return m_plot; }
    ChannelLegend& legend() { return *m_legend; }
    RunSeries& series() { return m_series; }
    int heaterRectCount() const { return static_cast<int>(m_heaterRects.size()); }
    QString emptyText() const { return m_overlay.emptyText(); }

signals:
    void followChanged(bool on);
    void cursorMoved(double utcSeconds);
    void pointPicked(double utcSeconds);

private:
    void userMovedTheView();
    void applyFollow();
    void rescaleY();
    void updateHeaterShading();
    void setKeyRange(double lower, double upper);
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

    RunSeries& m_series;
    QCustomPlot m_plot;
    std::array<ChannelGraph*, RunSeries::kChannels> m_graphs{};
    QCPGraph* m_heaterLegend = nullptr;
    ChannelLegend* m_legend = nullptr;
    std::vector<QCPItemRect*> m_heaterRects;
    PlotMarks m_marks;
    PlotOverlay m_overlay;
    PlotKeys* m_keys = nullptr;
    QSharedPointer<UtcTicker> m_utcTicker;
    QSharedPointer<ElapsedTicker> m_elapsedTicker;
    std::optional<double> m_cursorKey;
    bool m_follow = true;
    bool m_autoY = true;
    bool m_pressed = false;
    bool m_moved = false;
    bool m_settingRange = false;
    QPoint m_pressPos;
    TimeAxis m_timeAxis = TimeAxis::Utc;
    double m_followWidth = 0; // 0: the whole file in view
};

} // namespace quorvane
