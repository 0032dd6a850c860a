#pragma once

#include <qcustomplot.h>

namespace quorvane {

class RunSeries;

// One temperature channel of a RunSeries as a line on the plot. The five channels share the
// series' keys, so nothing is copied to draw. A view with more records than pixels is drawn
// as each pixel column's first, lowest, highest and last value; a NaN value (a break) ends
// the line. Lines are cut at the edges of the axis rect, so that no painter (SVG has no clip)
// draws across the axes.
class ChannelGraph : public QCPAbstractPlottable {
public:
    ChannelGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, const RunSeries& series, int channel);

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

    int channel() const { return m_channel; }

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    const RunSeries& m_series;
    int m_channel;
};

} // namespace quorvane
