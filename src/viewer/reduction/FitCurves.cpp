#include "viewer/reduction/FitCurves.h"

#include "analysis/LineSource.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

bool inside(const std::optional<analysis::FitWindow>& w, double t) {
    return w && t >= w->fromS && t <= w->toS;
}

} // namespace

FitCurves FitCurves::decay(const analysis::StationRecords& records,
                           const analysis::ReductionResults& results, std::size_t sensor) {
    FitCurves out;
    const analysis::SensorResult& s = results.sensors[sensor];
    if (!results.penetrationS || records.empty()) {
        return out;
    }
    const double tp = *results.penetrationS;
    const double end = results.heater.onS.value_or(records.timeS().back());
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    // Records long before the window would squeeze the window into a corner.
    double xLimit = 0.0;
    if (s.decayWindow && s.decayWindow->fromS > tp) {
        xLimit = 3.0 / (s.decayWindow->fromS - tp);
    }
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] <= tp || t[i] > end || !std::isfinite(v[i])) {
            continue;
        }
        const double x = 1.0 / (t[i] - tp);
        Set& set = inside(s.decayWindow, t[i]) ? out.inWindow : out.outside;
        if (&set == &out.outside && xLimit > 0.0 && x > xLimit) {
            continue;
        }
        set.x << x;
        set.y << v[i];
    }
    if (s.tEqC && s.decayA && s.decayWindow) {
        const double xMax = 1.0 / std::max(s.decayWindow->fromS - tp, 1e-9);
        out.line.x = {0.0, xMax};
        out.line.y = {*s.tEqC, *s.tEqC + *s.decayA * xMax};
    }
    return out;
}

FitCurves FitCurves::heating(const analysis::StationRecords& records,
                             const analysis::ReductionResults& results, std::size_t sensor,
                             double radiusM) {
    FitCurves out;
    const analysis::SensorResult& s = results.sensors[sensor];
    if (!results.heater.onS || !results.penetrationS || !s.tEqC || !s.decayA || records.empty()) {
        return out;
    }
    const double tp = *results.penetrationS;
    const double on = *results.heater.onS;
    const double off = results.heater.offS.value_or(records.timeS().back());
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] <= on || t[i] > off || !std::isfinite(v[i])) {
            continue;
        }
        const double rise = v[i] - *s.tEqC - *s.decayA / (t[i] - tp);
        Set& set = inside(s.heatingWindow, t[i]) ? out.inWindow : out.outside;
        set.x << std::log(t[i] - on);
        set.y << rise;
    }
    if (s.kHeatingWPerMK && s.heatingOffsetK && s.heatingWindow && results.heater.qWPerM) {
        const analysis::LineSource source(*results.heater.qWPerM, radiusM);
        const double from = std::max(s.heatingWindow->fromS - on, 1e-3);
        const double to = std::max(s.heatingWindow->toS - on, from);
        constexpr int kSteps = 40;
        for (int i = 0; i <= kSteps; ++i) {
            const double dt = from * std::pow(to / from, static_cast<double>(i) / kSteps);
            out.line.x << std::log(dt);
            out.line.y << source.heatingRise(*s.kHeatingWPerMK, dt) + *s.heatingOffsetK;
        }
    }
    return out;
}

} // namespace quorvane
