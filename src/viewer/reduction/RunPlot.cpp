#include "viewer/reduction/RunPlot.h"
#include "viewer/reduction/SharedWindow.h"

#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace quorvane {

namespace {

const std::array<QColor, analysis::kSensorCount> kColors = {
    QColor(0xd6, 0x27, 0x28), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
    QColor(0x1f, 0x77, 0xb4), QColor(0x94, 0x67, 0xbd)};
const QString kSpanLayer = QStringLiteral("spans");

} // namespace

RunPlot::RunPlot(QWidget* parent) : QWidget(parent), m_plot(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    m_plot->setLocale(QLocale::c());
    m_plot->addLayer(kSpanLayer, m_plot->layer(QStringLiteral("grid")), QCustomPlot::limBelow);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setDateTimeFormat(QStringLiteral("HH:mm:ss"));
    ticker->setTickCount(8);
    m_plot->xAxis->setTicker(ticker);
    m_plot->xAxis->setLabel(QStringLiteral("UTC"));
    m_plot->yAxis->setLabel(QStringLiteral("T  [°C]"));
    m_plot->yAxis->setNumberFormat(QStringLiteral("f"));
    m_plot->yAxis->setNumberPrecision(2);
    static const std::array<const char*, analysis::kSensorCount> kNames = {"TTop", "T2", "T3", "T4",
                                                                           "TBot"};
    for (std::size_t c = 0; c < analysis::kSensorCount; ++c) {
        QCPGraph* graph = m_plot->addGraph();
        graph->setName(QString::fromLatin1(kNames[c]));
        graph->setPen(QPen(kColors[c], 1.0));
        graph->setAdaptiveSampling(false);
    }
    m_plot->legend->setVisible(true);
    m_plot->legend->setFillOrder(QCPLegend::foColumnsFirst);
    m_plot->legend->setWrap(6);
    m_plot->legend->setBorderPen(Qt::NoPen);
    m_plot->legend->setBrush(Qt::NoBrush);
    // The legend in a row of its own above the plot, where it hides no curve.
    m_plot->plotLayout()->insertRow(0);
    m_plot->plotLayout()->addElement(0, 0, m_plot->legend);
    m_plot->plotLayout()->setRowStretchFactor(0, 0.001);
}

void RunPlot::show(const analysis::StationRecords& records,
                   const analysis::ReductionResults& results, std::optional<Span> span) {
    m_plot->clearItems();
    for (int c = 0; c < m_plot->graphCount(); ++c) {
        m_plot->graph(c)->data()->clear();
    }
    if (records.empty()) {
        m_plot->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    const std::vector<double>& t = records.timeS();
    const double first = t.front();
    const double last = t.back();
    const double column = std::max((last - first) / kColumns, 1e-9);
    double interval = records.logIntervalS;
    if (!(interval > 0.0) && t.size() > 1) {
        interval = (last - first) / static_cast<double>(t.size() - 1);
    }
    const double gap = 2.0 * interval;
    const std::size_t n = t.size();
    for (std::size_t c = 0; c < analysis::kSensorCount; ++c) {
        const std::vector<double>& v = records.temperatureC(c);
        QVector<QCPGraphData> points;
        std::size_t i = 0;
        while (i < n) {
            // One pixel column's records, up to a gap: its first, lowest, highest and last.
            const auto bucket = static_cast<long long>((t[i] - first) / column);
            std::size_t j = i + 1;
            while (j < n && static_cast<long long>((t[j] - first) / column) == bucket &&
                   !(interval > 0.0 && t[j] - t[j - 1] > gap)) {
                ++j;
            }
            std::array<std::optional<std::size_t>, 4> picks;
            for (std::size_t k = i; k < j; ++k) {
                if (!std::isfinite(v[k])) {
                    continue;
                }
                if (!picks[0]) {
                    picks[0] = k;
                }
                if (!picks[1] || v[k] < v[*picks[1]]) {
                    picks[1] = k;
                }
                if (!picks[2] || v[k] > v[*picks[2]]) {
                    picks[2] = k;
                }
                picks[3] = k;
            }
            std::vector<std::size_t> order;
            for (const auto& p : picks) {
                if (p) {
                    order.push_back(*p);
                }
            }
            std::sort(order.begin(), order.end());
            order.erase(std::unique(order.begin(), order.end()), order.end());
            for (std::size_t k : order) {
                points.append(QCPGraphData(t[k], v[k]));
            }
            if (j < n && interval > 0.0 && t[j] - t[j - 1] > gap) {
                points.append(QCPGraphData((t[j] + t[j - 1]) / 2.0, qQNaN()));
            }
            i = j;
        }
        m_plot->graph(static_cast<int>(c))->data()->set(points, true);
    }

    // The heater-on shading, halfway between the records around each change.
    const std::vector<int>& heater = records.heater();
    for (std::size_t i = 0; i < n;) {
        if (heater[i] <= 0) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < n && heater[j + 1] > 0) {
            ++j;
        }
        const double from = i > 0 ? (t[i - 1] + t[i]) / 2.0 : t[i];
        const double to = j + 1 < n ? (t[j] + t[j + 1]) / 2.0 : t[j];
        auto* rect = new QCPItemRect(m_plot);
        rect->setLayer(kSpanLayer);
        rect->setPen(Qt::NoPen);
        rect->setBrush(QColor(255, 200, 200, 90));
        rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
        rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
        rect->topLeft->setCoords(from, 0);
        rect->bottomRight->setCoords(to, 1);
        i = j + 1;
    }

    if (span) {
        addSpan(span->first, span->second, QColor(120, 120, 120), QStringLiteral("penetration"), 0);
    }
    if (const auto decay = sharedWindow(results, &analysis::SensorResult::decayWindow)) {
        addSpan(decay->fromS, decay->toS, QColor(40, 110, 220), QStringLiteral("decay fit"), 1);
    }
    if (const auto k = sharedWindow(results, &analysis::SensorResult::kWindow)) {
        addSpan(k->fromS, k->toS, QColor(30, 150, 60),
                results.heater.pulse ? QStringLiteral("pulse fit") : QStringLiteral("heating fit"),
                2);
    }
    if (const auto cooling = sharedWindow(results, &analysis::SensorResult::coolingWindow)) {
        addSpan(cooling->fromS, cooling->toS, QColor(150, 100, 20), QStringLiteral("cooling fit"),
                3);
    }
    if (results.penetrationS) {
        addLine(*results.penetrationS, QColor(30, 30, 30), Qt::SolidLine, QStringLiteral("t_p"));
    }
    if (results.heater.onS) {
        addLine(*results.heater.onS, QColor(200, 40, 40), Qt::DashLine, QStringLiteral("on"));
    }
    if (results.heater.offS && !results.heater.pulse) {
        addLine(*results.heater.offS, QColor(200, 40, 40), Qt::DotLine, QStringLiteral("off"));
    }

    const double pad = std::max((last - first) * 0.01, 1.0);
    m_plot->xAxis->setRange(first - pad, last + pad);
    bool found = false;
    QCPRange y;
    for (int c = 0; c < m_plot->graphCount(); ++c) {
        bool ok = false;
        const QCPRange r = m_plot->graph(c)->getValueRange(ok);
        if (ok) {
            y = found ? QCPRange(std::min(y.lower, r.lower), std::max(y.upper, r.upper)) : r;
            found = true;
        }
    }
    if (found) {
        const double dy = std::max(y.size() * 0.05, 0.01);
        m_plot->yAxis->setRange(y.lower - dy, y.upper + dy);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void RunPlot::addLine(double utcS, const QColor& color, Qt::PenStyle style, const QString& label) {
    auto* line = new QCPItemStraightLine(m_plot);
    line->point1->setTypeY(QCPItemPosition::ptAxisRectRatio);
    line->point2->setTypeY(QCPItemPosition::ptAxisRectRatio);
    line->point1->setCoords(utcS, 0);
    line->point2->setCoords(utcS, 1);
    line->setPen(QPen(color, 1.4, style));
    auto* text = new QCPItemText(m_plot);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(utcS, 1.0);
    text->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    text->setPadding(QMargins(3, 0, 3, 2));
    text->setColor(color);
    text->setText(label);
}

void RunPlot::addSpan(double fromS, double toS, const QColor& color, const QString& label,
                      int row) {
    auto* rect = new QCPItemRect(m_plot);
    rect->setLayer(kSpanLayer);
    rect->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
    rect->topLeft->setCoords(fromS, 0);
    rect->bottomRight->setCoords(toS, 1);
    QColor fill = color;
    fill.setAlpha(row == 0 ? 25 : 45);
    QColor edge = color;
    edge.setAlpha(170);
    rect->setBrush(fill);
    rect->setPen(QPen(edge, 1.0, Qt::DashLine));
    auto* text = new QCPItemText(m_plot);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    // Each kind of span on a line of its own, so that their names never overlap.
    text->position->setCoords(fromS, 0.02 + 0.07 * row);
    text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setPadding(QMargins(3, 1, 3, 1));
    text->setColor(color.darker(160));
    text->setText(label);
}

int RunPlot::pointCount(int channel) const {
    return m_plot->graph(channel)->dataCount();
}

} // namespace quorvane
