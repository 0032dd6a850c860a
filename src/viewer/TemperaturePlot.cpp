#include "viewer/TemperaturePlot.h"

#include "viewer/ElapsedTicker.h"
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
    : QWidget(parent), m_series(series) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&m_plot);
    setMinimumSize(320, 240);

    // Labels never follow the locale: a point as decimal separator, English month names.
    m_plot.setLocale(QLocale::c());
    m_plot.addLayer(kSpanLayer, m_plot.layer("grid"), QCustomPlot::limAbove);
    m_plot.layer("overlay")->setMode(QCPLayer::lmBuffered);

    for (int c = 0; c < RunSeries::kChannels; ++c) {
        QCPGraph* graph = m_plot.addGraph();
        graph->setData(m_series.channel(c));
        graph->setName(QString::fromLatin1(kChannelNames[static_cast<std::size_t>(c)]));
        // A pen of width 1 draws fast; 1.5 took 15 times as long on long series.
        graph->setPen(QPen(kColors[static_cast<std::size_t>(c)], 1));
        graph->setAdaptiveSampling(true);
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
    m_plot.legend->setVisible(true);
    m_plot.legend->setBrush(QColor(255, 255, 255, 210));
    m_plot.axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    m_plot.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_plot.axisRect()->setRangeDrag(Qt::Horizontal);
    m_plot.axisRect()->setRangeZoom(Qt::Horizontal);
    m_plot.selectionRect()->setPen(QPen(Qt::black, 1, Qt::DashLine));
    m_plot.selectionRect()->setBrush(QColor(0, 0, 255, 30));

    m_cursor = new QCPItemStraightLine(&m_plot);
    m_cursor->setLayer(QStringLiteral("overlay"));
    m_cursor->setPen(QPen(Qt::gray, 1, Qt::DashLine));
    m_cursor->setVisible(false);

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
}

void TemperaturePlot::dataChanged() {
    updateHeaterShading();
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
    m_autoY = false;
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

int TemperaturePlot::addMarkerLine(double utcSeconds, const QColor& color, const QString& label) {
    Mark mark;
    auto* line = new QCPItemStraightLine(&m_plot);
    line->setPen(QPen(color, 1.5));
    line->point1->setCoords(utcSeconds, 0);
    line->point2->setCoords(utcSeconds, 1);
    mark.items.append(line);
    if (!label.isEmpty()) {
        auto* text = new QCPItemText(&m_plot);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(utcSeconds, 0.01);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setPadding(QMargins(3, 0, 0, 0));
        text->setText(label);
        text->setColor(color);
        mark.items.append(text);
    }
    const int id = m_nextMark++;
    m_marks[id] = mark;
    m_plot.replot(QCustomPlot::rpQueuedReplot);
    return id;
}

int TemperaturePlot::addShadedSpan(double fromUtc, double toUtc, const QColor& color,
                                   const QString& label) {
    Mark mark;
    auto* rect = new QCPItemRect(&m_plot);
    rect->setLayer(QString::fromLatin1(kSpanLayer));
    rect->setPen(Qt::NoPen);
    rect->setBrush(color);
    placeSpan(rect, fromUtc, toUtc);
    mark.items.append(rect);
    if (!label.isEmpty()) {
        auto* text = new QCPItemText(&m_plot);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setCoords(fromUtc, 0.99);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        text->setText(label);
        text->setColor(color.darker(250));
        mark.items.append(text);
    }
    const int id = m_nextMark++;
    m_marks[id] = mark;
    m_plot.replot(QCustomPlot::rpQueuedReplot);
    return id;
}

void TemperaturePlot::removeMark(int id) {
    const auto it = m_marks.find(id);
    if (it == m_marks.end()) {
        return;
    }
    for (QCPAbstractItem* item : it->second.items) {
        m_plot.removeItem(item);
    }
    m_marks.erase(it);
    m_plot.replot(QCustomPlot::rpQueuedReplot);
}

void TemperaturePlot::clearMarks() {
    while (!m_marks.empty()) {
        removeMark(m_marks.begin()->first);
    }
}

bool TemperaturePlot::savePng(const QString& path, int width, int height) {
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
    m_plot.toPainter(&painter, width, height);
    painter.end();
    return QFileInfo(path).size() > 0;
}

void TemperaturePlot::userMovedTheView() {
    setFollow(false);
}

void TemperaturePlot::applyFollow() {
    if (!m_series.firstTime() || !m_series.lastTime()) {
        return;
    }
    const double first = *m_series.firstTime();
    const double last = *m_series.lastTime();
    const double span = last - first;
    const double pad = std::max(1.0, span * 0.02);
    m_settingRange = true;
    if (m_followWidth <= 0 || m_followWidth >= span) {
        m_plot.xAxis->setRange(first - pad, last + pad);
    } else {
        m_plot.xAxis->setRange(last + pad - m_followWidth, last + pad);
    }
    m_settingRange = false;
}

void TemperaturePlot::rescaleY() {
    if (!m_autoY) {
        return;
    }
    QCPRange total;
    bool any = false;
    for (QCPGraph* graph : m_graphs) {
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
    const double key = m_plot.xAxis->pixelToCoord(event->pos().x());
    if (m_pressed && !m_moved && (event->pos() - m_pressPos).manhattanLength() > 3) {
        m_moved = true;
        if (m_plot.selectionRectMode() == QCP::srmNone) {
            userMovedTheView(); // a pan
        }
    }
    m_cursor->point1->setCoords(key, 0);
    m_cursor->point2->setCoords(key, 1);
    m_cursor->setVisible(true);
    m_plot.layer(QStringLiteral("overlay"))->replot();
    emit cursorMoved(key);
}

void TemperaturePlot::mouseReleased(QMouseEvent* event) {
    if (m_pressed && !m_moved && event->button() == Qt::LeftButton &&
        !(event->modifiers() & Qt::ShiftModifier)) {
        emit pointPicked(m_plot.xAxis->pixelToCoord(event->pos().x()));
    }
    m_pressed = false;
}

} // namespace quorvane
