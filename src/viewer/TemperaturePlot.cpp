#include "viewer/TemperaturePlot.h"

#include "viewer/ChannelGraph.h"
#include "viewer/ChannelLegend.h"
#include "viewer/ElapsedTicker.h"
#include "viewer/ExportView.h"
#include "viewer/PlotKeys.h"
#include "viewer/UtcTicker.h"

#include <QFileInfo>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <set>

namespace quorvane {

namespace {

const std::array<QColor, RunSeries::kChannels> kColors = {
    QColor(0xd6, 0x27, 0x28), // TTop red
    QColor(0xff, 0x7f, 0x0e), // T2 orange
    QColor(0x2c, 0xa0, 0x2c), // T3 green
    QColor(0x1f, 0x77, 0xb4), // T4 blue
    QColor(0x94, 0x67, 0xbd), // TBot purple
};
const QColor kHeater(0xff, 0xb0, 0x40, 70);
const char* const kSpanLayer = "spans";

void placeSpan(QCPItemRect* rect, double from, double to) {
    rect->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
    rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
    rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->topLeft->setCoords(from, 0);
    rect->bottomRight->setCoords(to, 1);
}

} // namespace

const std::array<const char*, RunSeries::kChannels> TemperaturePlot::kChannelNames = {
    "TTop", "T2", "T3", "T4", "TBot"};

TemperaturePlot::TemperaturePlot(RunSeries& series, QWidget* parent)
    : QWidget(parent), m_series(series), m_marks(m_plot, QString::fromLatin1(kSpanLayer)),
      m_overlay(m_plot) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&m_plot);
    setMinimumSize(320, 240);
    m_plot.setAccessibleName(QStringLiteral("Temperature plot"));
    m_plot.setAccessibleDescription(PlotKeys::help());

    // Labels never follow the locale: a point as decimal separator, English month names.
    m_plot.setLocale(QLocale::c());
    m_plot.addLayer(kSpanLayer, m_plot.layer("grid"), QCustomPlot::limAbove);

    for (int c = 0; c < RunSeries::kChannels; ++c) {
        auto* graph = new ChannelGraph(m_plot.xAxis, m_plot.yAxis, m_series, c);
        graph->setName(QString::fromLatin1(kChannelNames[static_cast<std::size_t>(c)]));
        // A pen of width 1 draws fast; 1.5 took 15 times as long on long series.
        graph->setPen(QPen(kColors[static_cast<std::size_t>(c)], 1));
        m_graphs[static_cast<std::size_t>(c)] = graph;
    }
    m_heaterLegend = m_plot.addGraph();
    m_heaterLegend->setPen(QPen(kHeater.darker(150)));
    m_heaterLegend->setBrush(kHeater);
    m_heaterLegend->setName(QStringLiteral("Heater on"));
    m_heaterLegend->removeFromLegend();

    m_utcTicker = QSharedPointer<UtcTicker>::create();
    m_elapsedTicker = QSharedPointer<ElapsedTicker>::create();
    setTimeAxis(TimeAxis::Utc);
    m_plot.yAxis->setLabel(QStringLiteral("Temperature (°C)"));
    m_legend = new ChannelLegend(m_plot, m_graphs, this);
    connect(m_legend, &ChannelLegend::shownChanged, this, [this] {
        rescaleY();
        m_plot.replot(QCustomPlot::rpQueuedReplot);
    });

    m_plot.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_plot.axisRect()->setRangeDrag(Qt::Horizontal);
    m_plot.axisRect()->setRangeZoom(Qt::Horizontal);
    m_plot.selectionRect()->setPen(QPen(Qt::black, 1, Qt::DashLine));
    m_plot.selectionRect()->setBrush(QColor(0, 0, 255, 30));

    m_keys = new PlotKeys(*this, this);
    connect(&m_plot, &QCustomPlot::mouseWheel, this, &TemperaturePlot::userMovedTheView);
    connect(&m_plot, &QCustomPlot::mousePress, this, &TemperaturePlot::mousePressed);
    connect(&m_plot, &QCustomPlot::mouseMove, this, &TemperaturePlot::mouseMoved);
    connect(&m_plot, &QCustomPlot::mouseRelease, this, &TemperaturePlot::mouseReleased);
    connect(m_plot.selectionRect(), &QCPSelectionRect::accepted, this,
            &TemperaturePlot::userMovedTheView);
    connect(m_plot.xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
        if (!m_settingRange) {
            rescaleY();
        }
    });
    dataChanged();
}

TemperaturePlot::~TemperaturePlot() = default;

void TemperaturePlot::dataChanged() {
    updateHeaterShading();
    const bool empty = m_series.recordCount() == 0;
    // Without records there is no time to label (the axis would show 1970).
    m_plot.xAxis->setTickLabels(!empty);
    m_overlay.showEmpty(empty);
    if (m_series.firstTime()) {
        m_elapsedTicker->setOrigin(*m_series.firstTime());
    }
    if (m_follow) {
        applyFollow();
    }
    rescaleY();
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::setFollow(bool on) {
    if (on == m_follow) {
        return;
    }
    m_follow = on;
    if (on) {
        // Back to the newest data, keeping a width the operator chose by zooming in.
        const double width = m_plot.xAxis->range().size();
        const double span = m_series.firstTime() && m_series.lastTime()
                                ? *m_series.lastTime() - *m_series.firstTime()
                                : 0;
        m_followWidth = width < span * 0.98 ? width : 0;
        applyFollow();
        rescaleY();
        m_plot.replot(QCustomPlot::rpQueuedReplot);
    }
    emit followChanged(on);
}

void TemperaturePlot::setAutoY(bool on) {
    m_autoY = on;
    const Qt::Orientations both = Qt::Horizontal | Qt::Vertical;
    m_plot.axisRect()->setRangeDrag(on ? Qt::Horizontal : both);
    m_plot.axisRect()->setRangeZoom(on ? Qt::Horizontal : both);
    rescaleY();
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::setFixedY(double lower, double upper) {
    setAutoY(false);
    m_plot.yAxis->setRange(lower, upper);
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::setTimeAxis(TimeAxis axis) {
    m_timeAxis = axis;
    if (axis == TimeAxis::Utc) {
        m_plot.xAxis->setTicker(m_utcTicker);
        m_plot.xAxis->setLabel(QStringLiteral("Time (UTC)"));
    } else {
        m_plot.xAxis->setTicker(m_elapsedTicker);
        m_plot.xAxis->setLabel(QStringLiteral("Seconds since the first record"));
    }
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

QCPRange TemperaturePlot::visibleRange() const {
    return m_plot.xAxis->range();
}

void TemperaturePlot::setVisibleRange(double from, double to) {
    m_plot.xAxis->setRange(from, to);
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::panBy(double shareOfWidth) {
    userMovedTheView();
    const QCPRange view = m_plot.xAxis->range();
    const double shift = view.size() * shareOfWidth;
    setVisibleRange(view.lower + shift, view.upper + shift);
}

void TemperaturePlot::zoomBy(double factor, double centre) {
    userMovedTheView();
    const QCPRange view = m_plot.xAxis->range();
    // Never narrower than a few records' worth of seconds.
    const double width = std::max(4.0, view.size() * factor);
    const double share = view.size() > 0 ? (centre - view.lower) / view.size() : 0.5;
    setVisibleRange(centre - width * share, centre - width * share + width);
}

void TemperaturePlot::showWholeRun() {
    m_followWidth = 0;
    if (!m_series.firstTime()) {
        return;
    }
    applyFollow();
    rescaleY();
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::showCursor(std::optional<double> utcSeconds) {
    m_cursorKey = utcSeconds;
    m_overlay.showCursor(utcSeconds);
    if (utcSeconds) {
        emit cursorMoved(*utcSeconds);
    }
}

bool TemperaturePlot::savePng(const QString& path, int width, int height) {
    const ExportView view(m_plot, screenOnlyItems());
    return m_plot.savePng(path, width, height);
}

bool TemperaturePlot::saveSvg(const QString& path, int width, int height) {
    QFile::remove(path);
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(QStringLiteral("Quorvane Viewer"));
    QCPPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    {
        const ExportView view(m_plot, screenOnlyItems());
        m_plot.toPainter(&painter, width, height);
    }
    painter.end();
    return QFileInfo(path).size() > 0;
}

void TemperaturePlot::userMovedTheView() {
    setFollow(false);
}

void TemperaturePlot::setKeyRange(double lower, double upper) {
    m_settingRange = true;
    m_plot.xAxis->setRange(lower, upper);
    m_settingRange = false;
}

void TemperaturePlot::applyFollow() {
    if (!m_series.firstTime() || !m_series.lastTime()) {
        return;
    }
    const double first = *m_series.firstTime();
    const double last = *m_series.lastTime();
    const double span = last - first;
    const double pad = std::max(1.0, span * 0.02);
    if (m_followWidth <= 0 || m_followWidth >= span) {
        setKeyRange(first - pad, last + pad);
    } else {
        setKeyRange(last + pad - m_followWidth, last + pad);
    }
}

void TemperaturePlot::rescaleY() {
    if (!m_autoY) {
        return;
    }
    QCPRange total;
    bool any = false;
    for (ChannelGraph* graph : m_graphs) {
        if (!graph->visible()) {
            continue; // a hidden thermistor does not set the scale
        }
        bool found = false;
        const QCPRange r = graph->getValueRange(found, QCP::sdBoth, m_plot.xAxis->range());
        if (found) {
            total =
                any ? QCPRange(std::min(total.lower, r.lower), std::max(total.upper, r.upper)) : r;
            any = true;
        }
    }
    if (!any) {
        return;
    }
    const double pad = std::max(0.05, total.size() * 0.05);
    m_plot.yAxis->setRange(total.lower - pad, total.upper + pad);
}

void TemperaturePlot::updateHeaterShading() {
    const std::vector<RunSeries::HeaterSpan>& spans = m_series.heaterSpans();
    while (m_heaterRects.size() > spans.size()) {
        m_plot.removeItem(m_heaterRects.back());
        m_heaterRects.pop_back();
    }
    while (m_heaterRects.size() < spans.size()) {
        auto* rect = new QCPItemRect(&m_plot);
        rect->setLayer(QString::fromLatin1(kSpanLayer));
        rect->setPen(Qt::NoPen);
        rect->setBrush(kHeater);
        rect->setSelectable(false);
        m_heaterRects.push_back(rect);
    }
    std::set<int> levels;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        placeSpan(m_heaterRects[i], spans[i].from, spans[i].to);
        levels.insert(spans[i].level);
    }
    if (spans.empty()) {
        m_heaterLegend->removeFromLegend();
        return;
    }
    QStringList names;
    for (int level : levels) {
        names << QString::number(level);
    }
    m_heaterLegend->setName(
        QStringLiteral("Heater on (level %1)").arg(names.join(QStringLiteral(", "))));
    m_heaterLegend->addToLegend();
}

void TemperaturePlot::mousePressed(QMouseEvent* event) {
    m_pressed = true;
    m_moved = false;
    m_pressPos = event->pos();
    // Shift + drag, or the right button: rubber-band zoom; a plain drag pans.
    const bool band =
        event->button() == Qt::RightButton || (event->modifiers() & Qt::ShiftModifier);
    m_plot.setSelectionRectMode(band ? QCP::srmZoom : QCP::srmNone);
}

void TemperaturePlot::mouseMoved(QMouseEvent* event) {
    if (m_pressed && !m_moved && (event->pos() - m_pressPos).manhattanLength() > 3) {
        m_moved = true;
        if (m_plot.selectionRectMode() == QCP::srmNone) {
            userMovedTheView(); // a pan
        }
    }
    showCursor(m_plot.xAxis->pixelToCoord(event->pos().x()));
}

void TemperaturePlot::mouseReleased(QMouseEvent* event) {
    // A click on the legend is for the legend, not a pick.
    if (m_pressed && !m_moved && !m_legend->contains(event->pos()) &&
        event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier)) {
        pickAt(m_plot.xAxis->pixelToCoord(event->pos().x()));
    }
    m_pressed = false;
}

} // namespace quorvane
