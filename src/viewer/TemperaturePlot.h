#pragma once

#include "viewer/RunSeries.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <map>
#include <qcustomplot.h>

namespace quorvane {

class ElapsedTicker;
class UtcTicker;

// The plot of the five temperatures against UTC time: shaded heater-on intervals, follow
// (the newest data kept in sight, given up by any zoom or pan), y auto-scale or fixed
// limits, a crosshair, and marker lines and shaded spans that others may add.
class TemperaturePlot : public QWidget {
    Q_OBJECT
public:
    enum class TimeAxis { Utc, SecondsSinceFirst };
    static const std::array<const char*, RunSeries::kChannels> kChannelNames;

    explicit TemperaturePlot(RunSeries& series, QWidget* parent = nullptr);

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

    // Marks for others (the reduction): a vertical line or a shaded span with a label.
    // The id removes it again.
    int addMarkerLine(double utcSeconds, const QColor& color, const QString& label = {});
    int addShadedSpan(double fromUtc, double toUtc, const QColor& color, const QString& label = {});
    void removeMark(int id);
    void clearMarks();

    bool savePng(const QString& path, int width, int height);
    bool saveSvg(const QString& path, int width, int height);

    QCustomPlot& customPlot() { return m_plot; }
    int heaterRectCount() const { return static_cast<int>(m_heaterRects.size()); }

signals:
    void followChanged(bool on);
    void cursorMoved(double utcSeconds);
    void pointPicked(double utcSeconds);

private:
    struct Mark {
        QList<QCPAbstractItem*> items;
    };
    void userMovedTheView();
    void applyFollow();
    void rescaleY();
    void updateHeaterShading();
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

    RunSeries& m_series;
    QCustomPlot m_plot;
    std::array<QCPGraph*, RunSeries::kChannels> m_graphs{};
    QCPGraph* m_heaterLegend = nullptr;
    std::vector<QCPItemRect*> m_heaterRects;
    QCPItemStraightLine* m_cursor = nullptr;
    QSharedPointer<UtcTicker> m_utcTicker;
    QSharedPointer<ElapsedTicker> m_elapsedTicker;
    std::map<int, Mark> m_marks;
    int m_nextMark = 1;
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
