#include "viewer/UtcTicker.h"

#include <QTimeZone>

namespace quorvane {

UtcTicker::UtcTicker() {
    setDateTimeFormat(QStringLiteral("hh:mm:ss\nyyyy-MM-dd"));
    setTimeZone(QTimeZone::utc());
}

double UtcTicker::getTickStep(const QCPRange& range) {
    return std::max(1.0, QCPAxisTickerDateTime::getTickStep(range));
}

} // namespace quorvane
