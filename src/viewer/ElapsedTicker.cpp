#include "viewer/ElapsedTicker.h"

namespace quorvane {

double ElapsedTicker::getTickStep(const QCPRange& range) {
    // Whole seconds at least: the records are stamped to the second.
    return std::max(1.0, QCPAxisTicker::getTickStep(range));
}

QString ElapsedTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    return QLocale::c().toString(tick - m_origin, 'f', 0);
}

} // namespace quorvane
