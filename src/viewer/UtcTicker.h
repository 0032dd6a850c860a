#pragma once

#include <qcustomplot.h>

namespace quorvane {

// Date-time tick labels in UTC, at whole seconds at least: records are stamped to the
// second, and finer ticks would repeat one label.
class UtcTicker : public QCPAxisTickerDateTime {
public:
    UtcTicker();

protected:
    double getTickStep(const QCPRange& range) override;
};

} // namespace quorvane
