#include "viewer/reduction/ResultsText.h"

#include "analysis/ResultsJson.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

QString ResultsText::number(std::optional<double> value, int decimals) {
    if (!value || !std::isfinite(*value)) {
        return QString::fromUtf8(kDash);
    }
    // QString::number never uses the locale.
    return QString::number(*value, 'f', decimals);
}

QString ResultsText::withError(std::optional<double> value, std::optional<double> error,
                               int decimals) {
    if (!value) {
        return QString::fromUtf8(kDash);
    }
    if (!error || !std::isfinite(*error)) {
        return number(value, decimals);
    }
    // The error to two significant digits, the value to the same place.
    if (*error > 0.0) {
        decimals = std::clamp(1 - static_cast<int>(std::floor(std::log10(*error))), 0, 8);
    }
    return number(value, decimals) + QStringLiteral(" ± ") + number(error, decimals);
}

QString ResultsText::utc(std::optional<double> timeS) {
    return timeS ? analysis::ResultsJson::utc(*timeS) : QString::fromUtf8(kDash);
}

QString ResultsText::window(const std::optional<analysis::FitWindow>& window, double originS) {
    if (!window) {
        return QString::fromUtf8(kDash);
    }
    return QStringLiteral("%1 to %2 s (%3 records)")
        .arg(number(window->fromS - originS, 0), number(window->toS - originS, 0))
        .arg(window->records);
}

QString ResultsText::gradient(const analysis::ReductionResults& r) {
    if (!r.gradientKPerM) {
        return QString::fromUtf8(kDash);
    }
    return withError(r.gradientKPerM, r.gradientErrKPerM, 4) +
           QStringLiteral(" K/m (%1 thermistors)").arg(r.gradientSensors);
}

QString ResultsText::heatFlow(const analysis::ReductionResults& r) {
    if (!r.heatFlowMWPerM2) {
        return QString::fromUtf8(kDash);
    }
    return withError(r.heatFlowMWPerM2, r.heatFlowErrMWPerM2, 1) + QStringLiteral(" mW/m²");
}

QString ResultsText::heatFlowBullard(const analysis::ReductionResults& r) {
    if (!r.heatFlowBullardMWPerM2) {
        return QString::fromUtf8(kDash);
    }
    return number(r.heatFlowBullardMWPerM2, 1) + QStringLiteral(" mW/m²");
}

QString ResultsText::quality(const analysis::ReductionResults& r) {
    return r.quality.isEmpty() ? QString::fromUtf8(kDash) : r.quality;
}

QString ResultsText::heater(const analysis::ReductionResults& r) {
    if (!r.heater.onS) {
        return QStringLiteral("not seen");
    }
    QString text = QStringLiteral("on ") + utc(r.heater.onS) + QStringLiteral(", ");
    text += r.heater.offS
                ? QStringLiteral("off after %1 s").arg(number(*r.heater.offS - *r.heater.onS, 0))
                : QStringLiteral("still on");
    text +=
        QStringLiteral(", level %1, q %2 W/m").arg(r.heater.level).arg(number(r.heater.qWPerM, 2));
    return text;
}

QString ResultsText::penetration(const analysis::ReductionResults& r) {
    if (!r.penetrationS) {
        return QString::fromUtf8(kDash);
    }
    // "Seen" is the search's word; a time the operator set was not seen, whatever the search
    // found.
    if (r.flags.contains(QLatin1String(kSetByOperator))) {
        return utc(r.penetrationS) + QStringLiteral(" (set by the operator)");
    }
    return utc(r.penetrationS) +
           (r.penetrationSeen ? QStringLiteral(" (seen)") : QStringLiteral(" (not seen)"));
}

QStringList ResultsText::reasons(const analysis::ReductionResults& r) {
    QStringList out = r.flags;
    for (const analysis::SensorResult& s : r.sensors) {
        for (const QString& flag : s.flags) {
            out << s.name + QStringLiteral(": ") + flag;
        }
    }
    return out;
}

} // namespace quorvane
