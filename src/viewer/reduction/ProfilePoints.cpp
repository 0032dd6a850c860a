#include "viewer/reduction/ProfilePoints.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane {

double ProfilePoints::verticalDepth(const analysis::ReductionResults& results, std::size_t sensor) {
    const double tilt = results.probe ? results.probe->tiltDeg : results.tiltDeg.value_or(0.0);
    const double along =
        results.probe ? results.probe->sensorDepthsM[sensor] : results.sensors[sensor].depthM;
    return along * std::cos(tilt * std::numbers::pi / 180.0);
}

namespace {

QString leftOutNote(const analysis::SensorResult& s, const QString& from) {
    if (!s.excluded.contains(from)) {
        return QStringLiteral("not used");
    }
    return s.excludedReason.isEmpty() ? QStringLiteral("left out")
                                      : QStringLiteral("left out: ") + s.excludedReason;
}

} // namespace

ProfilePoints ProfilePoints::depth(const analysis::ReductionResults& results) {
    ProfilePoints out;
    for (std::size_t i = 0; i < results.sensors.size(); ++i) {
        const analysis::SensorResult& s = results.sensors[i];
        if (!s.tEqC) {
            out.missing << s.name + QStringLiteral(": no T_eq");
            continue;
        }
        Point p;
        p.name = s.name;
        p.x = verticalDepth(results, i);
        p.tC = *s.tEqC;
        p.errC = s.tEqErrC.value_or(0.0);
        p.used = results.gradientSensorNames.contains(s.name);
        if (!p.used) {
            p.note = leftOutNote(s, QStringLiteral("gradient"));
        }
        out.points << p;
    }
    if (results.gradientKPerM && results.gradientInterceptC) {
        out.slope = results.gradientKPerM;
        out.interceptC = results.gradientInterceptC;
    }
    return out;
}

ProfilePoints ProfilePoints::bullard(const analysis::ReductionResults& results) {
    ProfilePoints out;
    double resistance = 0.0;
    std::optional<std::size_t> previous;
    for (std::size_t i = 0; i < results.sensors.size(); ++i) {
        const analysis::SensorResult& s = results.sensors[i];
        if (!s.tEqC) {
            continue;
        }
        if (!results.gradientSensorNames.contains(s.name)) {
            out.missing << s.name + QStringLiteral(": ") +
                               leftOutNote(s, QStringLiteral("gradient"));
            continue;
        }
        if (!results.kSensorNames.contains(s.name) || !s.kWPerMK || !(*s.kWPerMK > 0.0)) {
            out.missing << s.name + QStringLiteral(": ") +
                               (s.kWPerMK ? leftOutNote(s, QStringLiteral("k"))
                                          : QStringLiteral("no k"));
            continue;
        }
        if (previous) {
            const double k = (*s.kWPerMK + *results.sensors[*previous].kWPerMK) / 2.0;
            resistance += (verticalDepth(results, i) - verticalDepth(results, *previous)) / k;
        }
        previous = i;
        out.points << Point{s.name, resistance, *s.tEqC, s.tEqErrC.value_or(0.0), true, {}};
    }
    if (results.heatFlowBullardMWPerM2 && !out.points.isEmpty()) {
        // The least-squares line through the points has the slope the heat flow came from
        // and goes through their mean.
        double meanX = 0.0;
        double meanT = 0.0;
        for (const Point& p : out.points) {
            meanX += p.x;
            meanT += p.tC;
        }
        meanX /= out.points.size();
        meanT /= out.points.size();
        out.slope = *results.heatFlowBullardMWPerM2 / 1000.0;
        out.interceptC = meanT - *out.slope * meanX;
    }
    return out;
}

std::optional<std::pair<double, double>> ProfilePoints::xRange() const {
    if (points.isEmpty()) {
        return std::nullopt;
    }
    const auto [lo, hi] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    return std::pair{lo->x, hi->x};
}

} // namespace quorvane
