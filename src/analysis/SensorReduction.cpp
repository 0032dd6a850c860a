#include "analysis/SensorReduction.h"

#include "analysis/DecayFit.h"
#include "analysis/HeatingFit.h"
#include "analysis/LineSource.h"
#include "analysis/PulseFit.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

enum Kind { Pulse = 1, Heating = 2, Cooling = 3 };

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

void SensorReduction::forget() {
    m_decays.clear();
    m_heats.clear();
    m_lastDelayS.reset();
    m_lastHeat = {};
}

FitOutcome<DecayCurve> SensorReduction::decay(const StationRecords& records,
                                              const StationPlan& plan, std::size_t s, double k,
                                              FitWindow& window) {
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
    if (plan.lastInWaterS) {
        // The friction cannot heat the probe before it left the water.
        delays.lowestS = std::max(delays.lowestS, *plan.lastInWaterS - plan.penetrationS);
    }
    delays.stepS = std::max(plan.intervalS, 1.0);
    key.lowestDelayS = delays.lowestS;
    if (const auto* hit = cached(m_decays, key)) {
        return *hit;
    }
    if (!plan.response) {
        return keep(m_decays, key, DecayFit(plan.penetrationS).fit(samples));
    }
    delays.near = m_lastDelayS;
    const auto& fit =
        keep(m_decays, key,
             BullardDecayFit(plan.response, plan.radiusM, plan.penetrationS, key.kappa, delays)
                 .fit(samples));
    if (fit) {
        m_lastDelayS = fit->delayS;
    }
    return fit;
}

FitOutcome<ConductivityEstimate> SensorReduction::heat(const StationRecords& records,
                                                       const StationPlan& plan, std::size_t s,
                                                       int kind, const TimeWindow& w,
                                                       const DecayCurve& d, FitWindow& window) {
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
    auto& last = m_lastHeat[static_cast<std::size_t>(kind)];
    FitOutcome<ConductivityEstimate> fit = kind == Pulse ? PulseFit::fit(plan, rise, last)
                                           : kind == Heating
                                               ? HeatingFit::heating(plan, rise, last)
                                               : HeatingFit::cooling(plan, rise, last);
    if (fit) {
        last = std::pair{fit->kWPerMK, fit->shiftS};
    }
    return keep(m_heats, key, std::move(fit));
}

void SensorReduction::judge(const QString& what, double rmsC, std::optional<double> riseK,
                            int records, bool caps, SensorResult& out) const {
    if (records < kFewestRecords) {
        out.flags << what + QStringLiteral(": fewer than 5 records");
    }
    if (rmsC > kHighestRmsC) {
        out.flags << what + QStringLiteral(": RMS misfit above 5 mK");
        out.misfit = out.misfit || caps;
    } else if (riseK && rmsC > kHighestRmsShare * *riseK) {
        out.flags << what + QStringLiteral(": RMS misfit above 5 % of the rise");
        out.misfit = out.misfit || caps;
    }
    out.fitRmsC = std::max(out.fitRmsC.value_or(0.0), rmsC);
}

void SensorReduction::reduce(const StationRecords& records, const StationPlan& plan, std::size_t s,
                             SensorResult& out) {
    using State = SensorHealth::State;
    if (plan.health[s] == State::Missing) {
        out.flags << QStringLiteral("thermistor missing");
        return;
    }
    if (plan.health[s] == State::Stuck) {
        out.flags << QStringLiteral("thermistor stuck");
        return;
    }
    const std::optional<double> entered = plan.enteredK[s];
    const bool heated = plan.onS && plan.qWPerM > 0.0 && (plan.offS || !plan.pulse);

    // The decay, first with k = 1 (or the k entered).
    std::optional<DecayCurve> decayCurve;
    FitWindow decayWindow;
    auto fitDecay = [&](double k) {
        const auto fit = decay(records, plan, s, k, decayWindow);
        if (fit) {
            decayCurve = *fit;
        } else {
            decayCurve.reset();
        }
        return fit;
    };
    std::optional<QString> decayFailure;
    if (plan.decay) {
        const auto fit = fitDecay(entered.value_or(kFirstK));
        if (!fit) {
            decayFailure = fit.reason();
        }
    }

    // The heater's k, and the decay once more with it.
    std::optional<ConductivityEstimate> estimate;
    std::optional<QString> kFailure;
    FitWindow kWindow;
    double kNow = entered.value_or(kFirstK);
    auto fitK = [&]() -> std::optional<ConductivityEstimate> {
        kFailure.reset();
        if (plan.pulse) {
            const double kappa = LineSource::diffusivity(kNow);
            const auto w = plan.pulseGiven ? plan.pulseGiven
                                           : PulseFit::defaultWindow(plan, kappa, records.timeS());
            if (!w) {
                kFailure = QStringLiteral("heat pulse without records after it: no k");
                return std::nullopt;
            }
            const auto fit = heat(records, plan, s, Pulse, *w, *decayCurve, kWindow);
            if (!fit) {
                kFailure = fit.reason();
                return std::nullopt;
            }
            return *fit;
        }
        if (!plan.heating) {
            return std::nullopt;
        }
        const auto fit = heat(records, plan, s, Heating, *plan.heating, *decayCurve, kWindow);
        if (!fit) {
            kFailure = fit.reason();
            return std::nullopt;
        }
        return *fit;
    };
    if (!entered && heated && decayCurve) {
        estimate = fitK();
        if (estimate && plan.response && std::abs(estimate->kWPerMK / kNow - 1.0) > 1e-3) {
            kNow = estimate->kWPerMK;
            const auto again = fitDecay(estimate->kWPerMK);
            if (again) {
                estimate = fitK();
            } else {
                decayFailure = again.reason();
                estimate.reset();
            }
        }
    }

    // What the decay gave.
    if (!plan.decay) {
        out.flags << QStringLiteral("no decay window");
    } else {
        out.decayWindow = decayWindow;
        if (decayFailure) {
            out.flags << *decayFailure;
        }
    }
    if (decayCurve) {
        out.decayCurve = decayCurve;
        out.decayMethod = decayCurve->method == DecayCurve::Method::Bullard
                              ? QStringLiteral("bullard-F")
                              : QStringLiteral("line-1/t");
        if (decayCurve->method == DecayCurve::Method::Bullard) {
            out.decayDelayS = decayCurve->delayS;
        }
        out.recordsDecay = decayCurve->records;
        out.tEqC = decayCurve->tEqC;
        out.tEqErrC = decayCurve->tEqErrC;
        out.decayRmsC = decayCurve->rmsC;
        judge(QStringLiteral("decay fit"), decayCurve->rmsC, std::nullopt, decayCurve->records,
              true, out);
    }

    // The conductivity.
    if (entered) {
        out.kWPerMK = *entered;
        out.kErrWPerMK = 0.0;
        out.kappaM2PerS = LineSource::diffusivity(*entered);
        out.kMethod = QStringLiteral("entered");
        out.flags << QStringLiteral("k entered by the operator");
        return;
    }
    if (!plan.onS || !(plan.qWPerM > 0.0)) {
        out.flags << QStringLiteral("no heater interval");
        return;
    }
    if (!decayCurve) {
        out.flags << QStringLiteral("k: no decay to take off the heater's rise");
        return;
    }
    if (kFailure) {
        out.flags << *kFailure;
    }
    if (estimate) {
        const QString what =
            plan.pulse ? QStringLiteral("pulse fit") : QStringLiteral("heating fit");
        out.kWPerMK = estimate->kWPerMK;
        out.kErrWPerMK = estimate->kErrWPerMK;
        out.kappaM2PerS = estimate->kappaM2PerS;
        out.kCurve = estimate->curve;
        out.kWindow = kWindow;
        out.kRmsC = estimate->rmsC;
        out.kRiseK = estimate->riseK;
        out.kMethod = !plan.response ? QStringLiteral("line-E1")
                      : plan.pulse   ? QStringLiteral("pulse-F")
                                     : QStringLiteral("heating-slope");
        judge(what, estimate->rmsC, estimate->riseK, estimate->records, true, out);
        if (estimate->kWPerMK < kLowestK || estimate->kWPerMK > kHighestK) {
            out.flags << QStringLiteral("k outside 0.2 to 5 W/(m K)");
        }
    }
    // A long heating's cooling: a second estimate.
    if (!plan.pulse && plan.cooling && plan.offS) {
        FitWindow coolingWindow;
        const auto fit = heat(records, plan, s, Cooling, *plan.cooling, *decayCurve, coolingWindow);
        out.coolingWindow = coolingWindow;
        if (!fit) {
            out.flags << fit.reason();
        } else {
            out.kCoolingWPerMK = fit->kWPerMK;
            out.kCoolingErrWPerMK = fit->kErrWPerMK;
            out.coolingRmsC = fit->rmsC;
            out.coolingCurve = fit->curve;
            // A second estimate: flagged, but the station's k does not rest on it.
            judge(QStringLiteral("cooling fit"), fit->rmsC, fit->riseK, fit->records, false, out);
        }
    }
}

} // namespace quorvane::analysis
