#include "viewer/ChannelGraph.h"

#include "viewer/RunSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quorvane {

namespace {

// More entries in view than this many per pixel column: one column at a time.
constexpr double kDensePerPixel = 3.0;

// Cuts the polyline `points` to `box` and draws what lies inside (Liang-Barsky per segment).
class ClippedLine {
public:
    ClippedLine(QCPPainter& painter, const QRectF& box) : m_painter(painter), m_box(box) {}
    ~ClippedLine() { end(); }
    ClippedLine(const ClippedLine&) = delete;
    ClippedLine& operator=(const ClippedLine&) = delete;

    void to(QPointF p) {
        if (m_open) {
            segment(m_last, p);
        }
        m_last = p;
        m_open = true;
    }
    // A break: the next point starts a new line.
    void end() {
        flush();
        m_open = false;
    }

private:
    void segment(QPointF a, QPointF b) {
        double t0 = 0.0;
        double t1 = 1.0;
        const double dx = b.x() - a.x();
        const double dy = b.y() - a.y();
        const auto cut = [&](double p, double q) {
            if (p == 0.0) {
                return q >= 0.0;
            }
            const double r = q / p;
            if (p < 0.0) {
                if (r > t1) {
                    return false;
                }
                t0 = std::max(t0, r);
            } else {
                if (r < t0) {
                    return false;
                }
                t1 = std::min(t1, r);
            }
            return true;
        };
        if (!cut(-dx, a.x() - m_box.left()) || !cut(dx, m_box.right() - a.x()) ||
            !cut(-dy, a.y() - m_box.top()) || !cut(dy, m_box.bottom() - a.y())) {
            flush();
            return;
        }
        const QPointF from(a.x() + t0 * dx, a.y() + t0 * dy);
        const QPointF to(a.x() + t1 * dx, a.y() + t1 * dy);
        if (m_points.empty() || t0 > 0.0) {
            flush();
            m_points.push_back(from);
        }
        m_points.push_back(to);
        if (t1 < 1.0) {
            flush();
        }
    }
    void flush() {
        if (m_points.size() >= 2) {
            m_painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
        }
        m_points.clear();
    }

    QCPPainter& m_painter;
    QRectF m_box;
    std::vector<QPointF> m_points;
    QPointF m_last;
    bool m_open = false;
};

} // namespace

ChannelGraph::ChannelGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, const RunSeries& series,
                           int channel)
    : QCPAbstractPlottable(keyAxis, valueAxis), m_series(series), m_channel(channel) {
    setSelectable(QCP::stNone);
}

double ChannelGraph::selectTest(const QPointF&, bool, QVariant*) const {
    return -1.0;
}

QCPRange ChannelGraph::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const {
    foundRange = false;
    const auto first = m_series.firstTime();
    const auto last = m_series.lastTime();
    if (!first || !last) {
        return {};
    }
    QCPRange range(std::min(*first, *last), std::max(*first, *last));
    if (inSignDomain == QCP::sdPositive) {
        range.lower = std::max(range.lower, std::numeric_limits<double>::min());
    } else if (inSignDomain == QCP::sdNegative) {
        range.upper = std::min(range.upper, -std::numeric_limits<double>::min());
    }
    foundRange = range.lower <= range.upper;
    return range;
}

QCPRange ChannelGraph::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                     const QCPRange& inKeyRange) const {
    const std::vector<double>& keys = m_series.keys();
    const std::vector<float>& values = m_series.values(m_channel);
    std::size_t begin = 0;
    std::size_t end = keys.size();
    if (inKeyRange != QCPRange()) {
        begin = static_cast<std::size_t>(
            std::lower_bound(keys.begin(), keys.end(), inKeyRange.lower) - keys.begin());
        end = static_cast<std::size_t>(
            std::upper_bound(keys.begin(), keys.end(), inKeyRange.upper) - keys.begin());
    }
    float lowest = std::numeric_limits<float>::infinity();
    float highest = -std::numeric_limits<float>::infinity();
    if (inSignDomain == QCP::sdBoth) {
        // The common case, run at every change of the view: a NaN (a break) compares false
        // and is passed over without a test of its own.
        for (std::size_t i = begin; i < end; ++i) {
            lowest = std::min(lowest, values[i]);
            highest = std::max(highest, values[i]);
        }
    }
    if (inSignDomain != QCP::sdBoth || !std::isfinite(lowest) || !std::isfinite(highest)) {
        lowest = std::numeric_limits<float>::infinity();
        highest = -std::numeric_limits<float>::infinity();
        for (std::size_t i = begin; i < end; ++i) {
            const float v = values[i];
            if (!std::isfinite(v) || (inSignDomain == QCP::sdPositive && v <= 0) ||
                (inSignDomain == QCP::sdNegative && v >= 0)) {
                continue;
            }
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
    }
    foundRange = lowest <= highest;
    return foundRange ? QCPRange(lowest, highest) : QCPRange();
}

void ChannelGraph::draw(QCPPainter* painter) {
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    const std::vector<double>& keys = m_series.keys();
    const std::vector<float>& values = m_series.values(m_channel);
    if (!keyAxis || !valueAxis || keys.empty()) {
        return;
    }
    // The axes are linear: pixel = origin + key * scale.
    const QCPRange keys0 = keyAxis->range();
    const QCPRange values0 = valueAxis->range();
    if (keys0.size() <= 0 || values0.size() <= 0) {
        return;
    }
    const double xLow = keyAxis->coordToPixel(keys0.lower);
    const double xScale = (keyAxis->coordToPixel(keys0.upper) - xLow) / keys0.size();
    const double yLow = valueAxis->coordToPixel(values0.lower);
    const double yScale = (valueAxis->coordToPixel(values0.upper) - yLow) / values0.size();
    const auto x = [&](double key) { return xLow + (key - keys0.lower) * xScale; };
    const auto y = [&](double value) { return yLow + (value - values0.lower) * yScale; };

    const auto first = static_cast<std::size_t>(
        std::lower_bound(keys.begin(), keys.end(), keys0.lower) - keys.begin());
    const auto last = static_cast<std::size_t>(
        std::upper_bound(keys.begin(), keys.end(), keys0.upper) - keys.begin());

    QPen pen = mPen;
    // A cosmetic pen of one pixel draws far faster than a pen of width 1 on screen.
    if (!painter->modes().testFlag(QCPPainter::pmVectorized) && qFuzzyCompare(pen.widthF(), 1.0)) {
        pen.setWidth(0);
    }
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    applyDefaultAntialiasingHint(painter);
    const QRectF box = clipRect();
    ClippedLine line(*painter, box);

    const double columns = std::abs(keys0.size() * xScale);
    if (static_cast<double>(last - first) <= kDensePerPixel * columns) {
        // Every entry in view and one on each side: the line runs to the edges.
        const std::size_t begin = first > 0 ? first - 1 : 0;
        const std::size_t end = std::min(keys.size(), last + 1);
        for (std::size_t i = begin; i < end; ++i) {
            if (std::isnan(values[i])) {
                line.end();
            } else {
                line.to(QPointF(x(keys[i]), y(values[i])));
            }
        }
        return;
    }
    // Each pixel column: its first, lowest, highest and last value.
    long column = std::numeric_limits<long>::min();
    float firstValue = 0;
    float lowest = 0;
    float highest = 0;
    float lastValue = 0;
    const auto flush = [&] {
        if (column == std::numeric_limits<long>::min()) {
            return;
        }
        const double at = static_cast<double>(column) + 0.5;
        line.to(QPointF(at, y(firstValue)));
        if (lowest < highest) {
            line.to(QPointF(at, y(firstValue <= lastValue ? lowest : highest)));
            line.to(QPointF(at, y(firstValue <= lastValue ? highest : lowest)));
        }
        line.to(QPointF(at, y(lastValue)));
        column = std::numeric_limits<long>::min();
    };
    for (std::size_t i = first; i < last; ++i) {
        const float v = values[i];
        if (std::isnan(v)) {
            flush();
            line.end();
            continue;
        }
        // Pixels in view are not negative: the cast is the floor, without a call for it.
        const auto c = static_cast<long>(x(keys[i]));
        if (c != column) {
            flush();
            column = c;
            firstValue = lowest = highest = v;
        } else {
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
        lastValue = v;
    }
    flush();
}

void ChannelGraph::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const {
    applyDefaultAntialiasingHint(painter);
    painter->setPen(mPen);
    painter->drawLine(
        QLineF(rect.left(), rect.center().y() + 1, rect.right() + 5, rect.center().y() + 1));
}

} // namespace quorvane
