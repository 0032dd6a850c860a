#include "viewer/reduction/FitCurves.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

bool inside(const std::optional<analysis::FitWindow>& w, double t) {
    return w && t >= w->fromS && t <= w->toS;
}

double offset(const analysis::ReductionResults& results, std::size_t sensor) {
    return results.calibrationOffsetsC ? (*results.calibrationOffsetsC)[sensor] : 0.0;
}

} // namespace

FitCurves FitCurves::decay(const analysis::StationRecords& records,
                           const analysis::ReductionResults& results, std::size_t sensor) {
    FitCurves out;
    const analysis::SensorResult& s = results.sensors[sensor];
    const bool line = s.decayCurve ? s.decayCurve->method == analysis::DecayCurve::Method::Line
                                   : s.decayMethod == QLatin1String("line-1/t");
    out.xLabel =
        line ? QStringLiteral("1/(t − t_p)  [1/s]") : QStringLiteral("F(α, κ(t − t_p − δ)/a²)");
    out.yLabel = QStringLiteral("T  [°C]");
    if (!results.penetrationS || records.empty() || !s.decayCurve) {
        return out;
    }
    const analysis::DecayCurve& curve = *s.decayCurve;
    const double tp = *results.penetrationS;
    const double end = results.heater.onS.value_or(records.timeS().back());
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    const double c = offset(results, sensor);
    // Records long before the window would squeeze the window into a corner.
    double xLimit = 0.0;
    if (s.decayWindow && s.decayWindow->fromS > tp) {
        xLimit = 3.0 * curve.shape(s.decayWindow->fromS);
    }
    double xMax = 0.0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] <= tp || t[i] > end || !std::isfinite(v[i])) {
            continue;
        }
        const double x = curve.shape(t[i]);
        if (!std::isfinite(x)) {
            continue;
        }
        const bool in = inside(s.decayWindow, t[i]);
        if (!in && xLimit > 0.0 && x > xLimit) {
            continue;
        }
        Set& set = in ? out.inWindow : out.outside;
        set.x << x;
        set.y << v[i] - c;
        if (in) {
            xMax = std::max(xMax, x);
        }
    }
    if (s.tEqC && xMax > 0.0) {
        out.line.x = {0.0, xMax};
        out.line.y = {curve.tEqC, curve.tEqC + curve.amplitude * xMax};
    }
    return out;
}

FitCurves FitCurves::heating(const analysis::StationRecords& records,
                             const analysis::ReductionResults& results, std::size_t sensor) {
    FitCurves out;
    const analysis::SensorResult& s = results.sensors[sensor];
    const bool pulse = results.heater.pulse && results.heater.offS;
    out.xLabel = pulse ? QStringLiteral("t − t_h  [s]") : QStringLiteral("ln(t − t_on)  [ln s]");
    out.yLabel = QStringLiteral("ΔT  [K]");
    if (!results.heater.onS || !s.decayCurve || !s.kCurve || records.empty()) {
        return out;
    }
    const analysis::HeaterCurve& curve = *s.kCurve;
    const double on = *results.heater.onS;
    const double origin = pulse ? (on + *results.heater.offS) / 2.0 : on;
    auto xOf = [&](double time) { return pulse ? time - origin : std::log(time - on); };
    const double end = pulse ? (s.kWindow ? s.kWindow->toS : records.timeS().back())
                             : results.heater.offS.value_or(records.timeS().back());
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    const double c = offset(results, sensor);
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] <= on || t[i] > end || !std::isfinite(v[i])) {
            continue;
        }
        Set& set = inside(s.kWindow, t[i]) ? out.inWindow : out.outside;
        set.x << xOf(t[i]);
        set.y << v[i] - c - s.decayCurve->at(t[i]);
    }
    if (s.kWindow) {
        const double from = std::max(s.kWindow->fromS, on + 1e-3);
        const double to = std::max(s.kWindow->toS, from);
        constexpr int kSteps = 60;
        for (int i = 0; i <= kSteps; ++i) {
            const double time = from + (to - from) * i / kSteps;
            out.line.x << xOf(time);
            out.line.y << curve.rise(time);
        }
    }
    return out;
}

} // namespace quorvane
