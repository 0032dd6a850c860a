#include "analysis/SensorFits.h"

#include "analysis/DecayFit.h"
#include "analysis/HeatingFit.h"
#include "analysis/LineSource.h"
#include "analysis/PulseFit.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

// Fits kept per thermistor: the two decays and the fits on each (live updates alternate).
constexpr std::size_t kKept = 4;

Samples samplesIn(const StationRecords& records, std::size_t sensor, const TimeWindow& w,
                  double offsetC, std::size_t& first, std::size_t& last) {
    Samples s;
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    const auto from = std::lower_bound(t.begin(), t.end(), w.fromS);
    first = static_cast<std::size_t>(from - t.begin());
    last = first;
    for (std::size_t i = first; i < t.size() && t[i] <= w.toS; ++i) {
        last = i;
        if (SensorHealth::usable(v[i])) {
            s.add(t[i], v[i] - offsetC);
        }
    }
    return s;
}

template <typename Key, typename Value>
const Value* cached(const std::vector<std::pair<Key, Value>>& cache, const Key& key) {
    for (const auto& [k, v] : cache) {
        if (k == key) {
            return &v;
        }
    }
    return nullptr;
}

template <typename Key, typename Value>
const Value& keep(std::vector<std::pair<Key, Value>>& cache, const Key& key, Value value) {
    if (cache.size() >= kKept) {
        cache.erase(cache.begin());
    }
    cache.emplace_back(key, std::move(value));
    return cache.back().second;
}

} // namespace

void SensorFits::forget() {
    m_decays.clear();
    m_heats.clear();
    m_joints.clear();
    m_lastDelayS = {};
    m_lastHeat = {};
    m_lastJoint.reset();
}

FitOutcome<DecayCurve> SensorFits::decay(const StationRecords& records, const StationPlan& plan,
                                         std::size_t s, double k, FitWindow& window) {
    DecayKey key;
    const Samples samples =
        samplesIn(records, s, *plan.decay, plan.offsetsC[s], key.first, key.last);
    window = FitWindow{plan.decay->fromS, plan.decay->toS, static_cast<int>(samples.size())};
    if (SensorHealth::constant(samples)) {
        return FitOutcome<DecayCurve>::failed(
            QStringLiteral("thermistor stuck in the decay window"));
    }
    key.penetrationS = plan.penetrationS;
    key.kappa = plan.response ? LineSource::diffusivity(k) : 0.0;
    key.offsetC = plan.offsetsC[s];
    key.response = plan.response.get();
    key.radiusM = plan.radiusM;
    BullardDecayFit::Delays delays;
    delays.lowestS = lowestDelay(plan);
    delays.stepS = std::max(plan.intervalS, 1.0);
    key.lowestDelayS = delays.lowestS;
    if (const auto* hit = cached(m_decays, key)) {
        return *hit;
    }
    if (!plan.response) {
        return keep(m_decays, key, DecayFit(plan.penetrationS).fit(samples));
    }
    delays.near = m_lastDelayS[static_cast<std::size_t>(m_pass)];
    const auto& fit =
        keep(m_decays, key,
             BullardDecayFit(plan.response, plan.radiusM, plan.penetrationS, key.kappa, delays)
                 .fit(samples));
    if (fit) {
        m_lastDelayS[static_cast<std::size_t>(m_pass)] = fit->delayS;
    }
    return fit;
}

FitOutcome<ConductivityEstimate> SensorFits::heat(const StationRecords& records,
                                                  const StationPlan& plan, std::size_t s, Kind kind,
                                                  const TimeWindow& w, const DecayCurve& d,
                                                  FitWindow& window) {
    HeatKey key;
    Samples rise = samplesIn(records, s, w, plan.offsetsC[s], key.first, key.last);
    window = FitWindow{w.fromS, w.toS, static_cast<int>(rise.size())};
    if (kind == Heating && SensorHealth::constant(rise)) {
        return FitOutcome<ConductivityEstimate>::failed(
            QStringLiteral("thermistor stuck in the heating window"));
    }
    key.kind = kind;
    key.tEqC = d.tEqC;
    key.amplitude = d.amplitude;
    key.delayS = d.delayS;
    key.decayKappa = d.kappa;
    key.onS = *plan.onS;
    key.offS = plan.offS.value_or(0.0);
    key.q = plan.qWPerM;
    key.offsetC = plan.offsetsC[s];
    key.response = plan.response.get();
    key.radiusM = plan.radiusM;
    if (const auto* hit = cached(m_heats, key)) {
        return *hit;
    }
    for (std::size_t i = 0; i < rise.size(); ++i) {
        rise.value[i] -= d.at(rise.timeS[i]);
    }
    auto& last = m_lastHeat[static_cast<std::size_t>(m_pass)][static_cast<std::size_t>(kind)];
    FitOutcome<ConductivityEstimate> fit = kind == Pulse ? PulseFit::fit(plan, rise, last)
                                           : kind == Heating
                                               ? HeatingFit::heating(plan, rise, last)
                                               : HeatingFit::cooling(plan, rise, last);
    if (fit) {
        last = std::pair{fit->kWPerMK, fit->shiftS};
    }
    return keep(m_heats, key, std::move(fit));
}

FitOutcome<JointDecayFit::Joint> SensorFits::jointly(const StationRecords& records,
                                                     const StationPlan& plan, std::size_t s,
                                                     const DecayCurve& decay,
                                                     const ConductivityEstimate& fall,
                                                     const FitWindow& fallWindow) {
    JointKey key;
    const Samples decaySamples =
        samplesIn(records, s, *plan.decay, plan.offsetsC[s], key.decayFirst, key.decayLast);
    const Samples fallSamples = samplesIn(records, s, {fallWindow.fromS, fallWindow.toS},
                                          plan.offsetsC[s], key.fallFirst, key.fallLast);
    key.penetrationS = plan.penetrationS;
    key.offsetC = plan.offsetsC[s];
    key.onS = *plan.onS;
    key.offS = plan.offS.value_or(0.0);
    key.q = plan.qWPerM;
    key.response = plan.response.get();
    key.radiusM = plan.radiusM;
    if (const auto* hit = cached(m_joints, key)) {
        return *hit;
    }
    JointDecayFit::Joint start{decay, fall};
    if (m_lastJoint) {
        start.fall.kWPerMK = m_lastJoint->fall.kWPerMK;
        start.fall.shiftS = m_lastJoint->fall.shiftS;
        start.decay.delayS = m_lastJoint->decay.delayS;
    }
    const double highest =
        std::min(BullardDecayFit::Delays{}.highestS,
                 (decaySamples.size() > 0 ? decaySamples.timeS.front() : plan.penetrationS) -
                     plan.penetrationS - 1e-3);
    const double lowest = std::min(lowestDelay(plan), highest);
    auto fit = JointDecayFit::fit(plan, decaySamples, fallSamples, lowest, highest, start);
    if (fit) {
        m_lastJoint = *fit;
    }
    return keep(m_joints, key, std::move(fit));
}

double SensorFits::lowestDelay(const StationPlan& plan) {
    double lowest = BullardDecayFit::Delays{}.lowestS;
    if (plan.lastInWaterS) {
        // The friction cannot heat the probe before it left the water.
        lowest = std::max(lowest, *plan.lastInWaterS - plan.penetrationS);
    }
    return lowest;
}

} // namespace quorvane::analysis
