#include "station/NumberText.h"

#include <cmath>

namespace quorvane::station {

QString NumberText::format(double value) {
    if (value == 0.0) {
        return QStringLiteral("0"); // never "-0"
    }
    // QString::number ignores the locale.
    return QString::number(value, 'g', 12);
}

std::optional<double> NumberText::parse(const QString& text) {
    bool ok = false;
    // QString::toDouble reads the C locale's numbers whatever the user's locale.
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace quorvane::station
