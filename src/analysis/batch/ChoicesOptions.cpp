#include "analysis/batch/ChoicesOptions.h"

namespace quorvane::analysis {

namespace {

using Exclusion = station::StationChoices::Exclusion;

std::optional<ReductionOptions::Window>
window(const std::optional<station::StationChoices::Window>& w) {
    if (!w) {
        return std::nullopt;
    }
    return ReductionOptions::Window{w->fromS, w->toS};
}

std::optional<station::StationChoices::Window>
window(const std::optional<ReductionOptions::Window>& w) {
    if (!w) {
        return std::nullopt;
    }
    return station::StationChoices::Window{w->first, w->second};
}

} // namespace

ReductionOptions ChoicesOptions::toOptions(const station::StationChoices& c, ReductionOptions o) {
    o.penetrationS = c.penetrationS;
    o.decayWindowS = window(c.decayWindowS);
    o.heatingWindowS = window(c.heatingWindowS);
    o.pulseWindowS = window(c.pulseWindowS);
    o.calibrateBottomWater = c.calibrateBottomWater;
    const QStringList& names = station::StationChoices::sensorNames();
    for (qsizetype i = 0; i < names.size() && i < 5; ++i) {
        const auto s = static_cast<std::size_t>(i);
        const auto k = c.enteredKWPerMK.find(names[i]);
        o.enteredK[s] =
            k != c.enteredKWPerMK.end() ? std::optional<double>(k->second) : std::nullopt;
        const auto out = c.excluded.find(names[i]);
        const Exclusion from = out != c.excluded.end() ? out->second.from : Exclusion::None;
        o.excludeFromGradient[s] = from == Exclusion::Gradient || from == Exclusion::Both;
        o.excludeFromK[s] = from == Exclusion::K || from == Exclusion::Both;
        o.exclusionReason[s] = out != c.excluded.end() ? out->second.reason : QString();
    }
    return o;
}

station::StationChoices ChoicesOptions::toChoices(const ReductionOptions& o,
                                                  const station::StationChoices& keep) {
    station::StationChoices c;
    c.hidden = keep.hidden;
    c.otherKeys = keep.otherKeys;
    c.penetrationS = o.penetrationS;
    c.decayWindowS = window(o.decayWindowS);
    c.heatingWindowS = window(o.heatingWindowS);
    c.pulseWindowS = window(o.pulseWindowS);
    c.calibrateBottomWater = o.calibrateBottomWater;
    const QStringList& names = station::StationChoices::sensorNames();
    for (qsizetype i = 0; i < names.size() && i < 5; ++i) {
        const auto s = static_cast<std::size_t>(i);
        if (o.enteredK[s]) {
            c.enteredKWPerMK[names[i]] = *o.enteredK[s];
        }
        const bool gradient = o.excludeFromGradient[s];
        const bool k = o.excludeFromK[s];
        if (gradient || k) {
            c.excluded[names[i]] = {gradient && k ? Exclusion::Both
                                    : gradient    ? Exclusion::Gradient
                                                  : Exclusion::K,
                                    o.exclusionReason[s]};
        }
    }
    return c;
}

} // namespace quorvane::analysis
