#include "analysis/Reduction.h"

#include "analysis/CoolingFit.h"
#include "analysis/DecayFit.h"
#include "analysis/GradientFit.h"
#include "analysis/HeatFlow.h"
#include "analysis/HeaterTimes.h"
#include "analysis/LineSourceFit.h"
#include "analysis/PenetrationDetector.h"
#include "analysis/SensorHealth.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

const std::array<QString, kSensorCount> kNames = {QStringLiteral("TTop"), QStringLiteral("T2"),
                                                  QStringLiteral("T3"), QStringLiteral("T4"),
                                                  QStringLiteral("TBot")};

struct Window {
    double fromS = 0.0;
    double toS = 0.0;
};

// A fit is done again only when something it depends on has changed.
struct FitKey {
    std::size_t first = 0;
    std::size_t last = 0;
    double penetrationS = 0.0;
    double tEqC = 0.0;
    double aKs = 0.0;
    double onS = 0.0;
    double offS = 0.0;
    double q = 0.0;
    double radius = 0.0;
    bool operator==(const FitKey&) const = default;
};

struct CachedFit {
    std::optional<FitKey> key;
    std::optional<FitOutcome<ConductivityEstimate>> outcome;
    double lastK = 1.0;
};

Samples samplesIn(const StationRecords& records, std::size_t sensor, const Window& w,
                  std::size_t& first, std::size_t& last) {
    Samples s;
    const auto& t = records.timeS();
    const auto& v = records.temperatureC(sensor);
    first = t.size();
    last = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] >= w.fromS && t[i] <= w.toS) {
            first = std::min(first, i);
            last = i;
            if (SensorHealth::usable(v[i])) {
                s.add(t[i], v[i]);
            }
        }
    }
    return s;
}

int recordsIn(const std::vector<double>& t, const Window& w) {
    return static_cast<int>(
        std::count_if(t.begin(), t.end(), [&](double x) { return x >= w.fromS && x <= w.toS; }));
}

// Keeps a window the operator gave inside [low, high]; says so when it had to.
std::optional<Window> clipped(const Window& w, double low, double high, const QString& what,
                              QStringList& flags) {
    if (!(w.fromS < w.toS)) {
        flags << what + QStringLiteral(" window: its start is not before its end");
        return std::nullopt;
    }
    if (w.toS <= low || w.fromS >= high) {
        flags << what + QStringLiteral(" window outside the records");
        return std::nullopt;
    }
    Window c{std::max(w.fromS, low), std::min(w.toS, high)};
    if (c.fromS != w.fromS || c.toS != w.toS) {
        flags << what + QStringLiteral(" window cut to the records it can use");
    }
    return c;
}

} // namespace

struct Reduction::Cache {
    std::array<CachedFit, kSensorCount> heating;
    std::array<CachedFit, kSensorCount> cooling;
};

struct Reduction::Station {
    double penetrationS = 0.0;
    std::array<SensorHealth::State, kSensorCount> health{};
    std::optional<Window> decay;
    std::optional<double> onS;
    std::optional<double> offS;
    double q = 0.0;
    bool pulse = false;
    std::optional<Window> heating;
    std::optional<Window> cooling;
};

Reduction::Reduction(ProbeProfile profile, ReductionOptions options)
    : m_profile(std::move(profile)), m_options(options),
      m_penetration(std::make_unique<PenetrationDetector>(options.penetrationThresholdK)),
      m_heater(std::make_unique<HeaterTimes>()), m_cache(std::make_unique<Cache>()) {}

Reduction::~Reduction() = default;

void Reduction::setRecords(StationRecords records) {
    m_records = std::move(records);
    m_penetration->reset(m_options.penetrationThresholdK);
    m_heater->reset();
    *m_cache = Cache();
}

void Reduction::append(double timeS, const std::array<double, kSensorCount>& temperaturesC,
                       int heater) {
    m_records.append(timeS, temperaturesC, heater);
}

void Reduction::setFileInfo(const QString& fileName, const QString& serial, double logIntervalS,
                            int badLines) {
    m_records.fileName = fileName;
    m_records.serial = serial;
    m_records.logIntervalS = logIntervalS;
    m_records.badLines = badLines;
}

void Reduction::setOptions(const ReductionOptions& options) {
    m_options = options;
    m_penetration->reset(options.penetrationThresholdK);
}

void Reduction::setProfile(const ProbeProfile& profile) {
    m_profile = profile;
    *m_cache = Cache();
}

ReductionResults Reduction::results() {
    ReductionResults out;
    out.file = m_records.fileName;
    out.records = static_cast<int>(m_records.size());
    out.badLines = m_records.badLines;
    for (std::size_t i = 0; i < kSensorCount; ++i) {
        out.sensors[i].name = kNames[i];
        out.sensors[i].depthM = m_profile.sensorDepthsM[i];
    }
    if (m_profile.isDefault) {
        out.flags << QStringLiteral("default probe profile");
    }
    if (!m_profile.tiltEntered) {
        out.flags << QStringLiteral("tilt not entered, vertical assumed");
    }
    if (m_records.empty()) {
        out.flags << QStringLiteral("no records");
        return out;
    }
    reduceStation(out);
    return out;
}

void Reduction::reduceStation(ReductionResults& out) {
    const auto& t = m_records.timeS();
    const double first = t.front();
    const double last = t.back();

    // Log interval and gaps.
    std::vector<double> steps;
    steps.reserve(t.size());
    for (std::size_t i = 1; i < t.size(); ++i) {
        steps.push_back(t[i] - t[i - 1]);
    }
    double interval = m_records.logIntervalS;
    if (!(interval > 0.0) && !steps.empty()) {
        std::vector<double> sorted = steps;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        interval = sorted[sorted.size() / 2];
    }
    out.logIntervalS = interval;
    if (std::any_of(steps.begin(), steps.end(), [](double s) { return s <= 0.0; })) {
        out.flags << QStringLiteral("records out of time order");
    }
    if (interval > 0.0 &&
        std::any_of(steps.begin(), steps.end(), [&](double s) { return s > 1.5 * interval; })) {
        out.flags << QStringLiteral("gap in the records");
    }

    Station st;
    std::array<bool, kSensorCount> inUse{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        st.health[s] = SensorHealth::judge(m_records.temperatureC(s));
        inUse[s] = st.health[s] == SensorHealth::State::Working;
    }

    // Heater.
    m_heater->update(m_records);
    const std::size_t firstHeated = m_heater->onRecord().value_or(m_records.size());
    if (!m_heater->onRecord()) {
        out.flags << QStringLiteral("no heater interval");
    } else if (m_heater->onAtStart()) {
        out.flags << QStringLiteral("heater on from the first record: no switch-on in the records");
    } else {
        st.onS = m_heater->onS(m_records);
        st.offS = m_heater->offS(m_records);
        st.q = m_heater->level() * m_profile.heaterWPerMPerLevel;
        out.heater.onS = st.onS;
        out.heater.offS = st.offS;
        out.heater.level = m_heater->level();
        out.heater.qWPerM = st.q;
        if (!st.offS) {
            out.flags << QStringLiteral("heater still on at the end of the records");
        }
        if (m_profile.isDefault) {
            out.flags << QStringLiteral("q from the default probe profile");
        }
    }
    if (m_heater->moreThanOneInterval()) {
        out.flags << QStringLiteral("more than one heater interval: the first is used");
    }

    // Penetration.
    m_penetration->update(m_records, firstHeated, inUse);
    std::optional<double> penetration;
    if (m_options.penetrationS) {
        if (*m_options.penetrationS >= first && *m_options.penetrationS < last) {
            penetration = m_options.penetrationS;
            out.flags << QStringLiteral("penetration time set by the operator");
        } else {
            out.flags << QStringLiteral(
                "penetration time given lies outside the records: not used");
        }
    }
    if (const auto record = m_penetration->record()) {
        out.penetrationSeen = true;
        if (!penetration) {
            penetration = (t[*record - 1] + t[*record]) / 2.0;
        }
    } else {
        out.flags << QStringLiteral("penetration not seen");
    }
    st.penetrationS = penetration.value_or(first);
    out.penetrationS = st.penetrationS;

    // Decay window: to the switch-on, or the end of the records without a heater.
    const double decayEnd = m_heater->onRecord() ? st.onS.value_or(first) : last;
    if (m_heater->onAtStart()) {
        out.flags << QStringLiteral("no decay: the heater was on from the first record");
    } else if (m_options.decayWindowS) {
        st.decay = clipped({st.penetrationS + m_options.decayWindowS->first,
                            st.penetrationS + m_options.decayWindowS->second},
                           st.penetrationS, decayEnd, QStringLiteral("decay"), out.flags);
    } else if (decayEnd > st.penetrationS) {
        Window w{st.penetrationS + (1.0 - kDecayShare) * (decayEnd - st.penetrationS), decayEnd};
        // At least five records where the data have them.
        std::vector<double> after;
        for (double x : t) {
            if (x > st.penetrationS && x <= decayEnd) {
                after.push_back(x);
            }
        }
        if (recordsIn(t, w) < kFewestRecords && !after.empty()) {
            w.fromS = after[after.size() - std::min<std::size_t>(after.size(), kFewestRecords)];
        }
        st.decay = w;
    } else {
        out.flags << QStringLiteral("no decay: the heater came on at the penetration");
    }

    // Heating and cooling windows.
    if (st.onS && st.q > 0.0) {
        const double heatEnd = st.offS.value_or(last);
        st.pulse = st.offS && *st.offS - *st.onS < kPulseUnderS;
        if (!st.pulse) {
            if (m_options.heatingWindowS) {
                st.heating = clipped({*st.onS + m_options.heatingWindowS->first,
                                      *st.onS + m_options.heatingWindowS->second},
                                     *st.onS, heatEnd, QStringLiteral("heating"), out.flags);
            } else if (heatEnd > *st.onS) {
                st.heating = Window{*st.onS + (1.0 - kHeatingShare) * (heatEnd - *st.onS), heatEnd};
            }
        } else if (m_options.heatingWindowS) {
            out.flags << QStringLiteral(
                "heat pulse: no heating fit, the heating window is not used");
        }
        if (st.offS) {
            const double span = std::max(2.0 * (*st.offS - *st.onS), kShortestCoolingS);
            const double end = std::min(last, *st.offS + span);
            if (end > *st.offS) {
                st.cooling = Window{*st.offS, end};
            }
        }
    }

    for (std::size_t s = 0; s < kSensorCount; ++s) {
        reduceSensor(st, s, out.sensors[s]);
    }

    // Gradient.
    std::vector<double> depths(m_profile.sensorDepthsM.begin(), m_profile.sensorDepthsM.end());
    std::vector<std::optional<double>> tEq;
    std::vector<std::optional<double>> k;
    std::vector<std::optional<double>> kErr;
    for (const auto& sensor : out.sensors) {
        tEq.push_back(sensor.tEqC);
        k.push_back(sensor.kWPerMK);
        kErr.push_back(sensor.kErrWPerMK);
    }
    const GradientFit gradientFit(m_profile.tiltDeg);
    const auto gradient = gradientFit.fit(depths, tEq);
    if (!gradient) {
        out.flags << gradient.reason();
    } else {
        out.gradientKPerM = gradient->kPerM;
        out.gradientErrKPerM = gradient->errKPerM;
        out.gradientSensors = gradient->sensors;
        if (gradient->sensors < static_cast<int>(kSensorCount)) {
            out.flags << QStringLiteral("gradient from %1 thermistors").arg(gradient->sensors);
        }
    }

    // Heat flow.
    const auto mean = HeatFlow::harmonicMean(k, kErr);
    if (mean) {
        out.harmonicMeanKWPerMK = mean->kWPerMK;
    }
    if (!gradient || !mean) {
        out.flags << (gradient ? QStringLiteral("heat flow: no conductivity")
                               : QStringLiteral("heat flow: no gradient"));
    } else {
        if (mean->sensors < static_cast<int>(kSensorCount)) {
            out.flags << QStringLiteral("heat flow: mean k from %1 thermistors").arg(mean->sensors);
        }
        const auto q = HeatFlow::interval(*mean, gradient->kPerM, gradient->errKPerM);
        out.heatFlowMWPerM2 = q.mWPerM2;
        out.heatFlowErrMWPerM2 = q.errMWPerM2;
        if (q.mWPerM2 != 0.0) {
            out.quality = HeatFlow::quality(q.errMWPerM2 / std::abs(q.mWPerM2));
        } else {
            out.flags << QStringLiteral("heat flow of zero: no quality");
        }
        std::vector<double> vertical;
        for (double d : depths) {
            vertical.push_back(gradientFit.verticalDepth(d));
        }
        const auto bullard = HeatFlow::bullard(vertical, tEq, k);
        if (bullard) {
            out.heatFlowBullardMWPerM2 = *bullard;
        } else {
            out.flags << bullard.reason();
        }
    }
    if (m_profile.isDefault && (out.gradientKPerM || out.heatFlowMWPerM2)) {
        out.flags << QStringLiteral("gradient and heat flow from the default probe profile");
    }
}

void Reduction::reduceSensor(const Station& st, std::size_t s, SensorResult& out) {
    using State = SensorHealth::State;
    if (st.health[s] == State::Missing) {
        out.flags << QStringLiteral("thermistor missing");
        return;
    }
    if (st.health[s] == State::Stuck) {
        out.flags << QStringLiteral("thermistor stuck");
        return;
    }
    if (m_profile.isDefault) {
        out.flags << QStringLiteral("depth and k from the default probe profile");
    }
    // Equilibrium temperature.
    std::optional<DecayCurve> decay;
    if (st.decay) {
        std::size_t firstIndex = 0;
        std::size_t lastIndex = 0;
        const Samples samples = samplesIn(m_records, s, *st.decay, firstIndex, lastIndex);
        out.decayWindow =
            FitWindow{st.decay->fromS, st.decay->toS, static_cast<int>(samples.size())};
        if (SensorHealth::constant(samples)) {
            out.flags << QStringLiteral("thermistor stuck in the decay window");
        } else {
            const auto fit = DecayFit(st.penetrationS).fit(samples);
            if (!fit) {
                out.flags << fit.reason();
            } else {
                decay = *fit;
                out.recordsDecay = fit->records;
                out.tEqC = fit->tEqC;
                out.tEqErrC = fit->tEqErrC;
                out.decayA = fit->aKs;
                out.decayRmsC = fit->rmsC;
                out.fitRmsC = fit->rmsC;
                if (fit->records < kFewestRecords) {
                    out.flags << QStringLiteral("decay fit: fewer than 5 records");
                }
                if (fit->rmsC > kHighestRmsC) {
                    out.flags << QStringLiteral("decay fit: RMS misfit above 5 mK");
                }
            }
        }
    } else {
        out.flags << QStringLiteral("no decay window");
    }

    // Conductivity.
    if (!st.onS || !(st.q > 0.0)) {
        out.flags << QStringLiteral("no heater interval");
        return;
    }
    if (!decay) {
        out.flags << QStringLiteral("k: no decay to take off the heater's rise");
        return;
    }
    const LineSource source(st.q, m_profile.radiusM);
    auto riseIn = [&](const Window& w, std::size_t& firstIndex, std::size_t& lastIndex) {
        Samples samples = samplesIn(m_records, s, w, firstIndex, lastIndex);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples.value[i] -= decay->at(samples.timeS[i]);
        }
        return samples;
    };
    auto runCached = [&](CachedFit& cache, const FitKey& key, auto&& fit) {
        if (!cache.key || !(*cache.key == key)) {
            cache.outcome = fit(cache.lastK);
            cache.key = key;
            if (*cache.outcome) {
                cache.lastK = (*cache.outcome)->kWPerMK;
            }
        }
        return *cache.outcome;
    };
    FitKey base;
    base.penetrationS = st.penetrationS;
    base.tEqC = decay->tEqC;
    base.aKs = decay->aKs;
    base.onS = *st.onS;
    base.offS = st.offS.value_or(0.0);
    base.q = st.q;
    base.radius = m_profile.radiusM;

    std::optional<ConductivityEstimate> heating;
    if (st.heating) {
        FitKey key = base;
        const Samples rise = riseIn(*st.heating, key.first, key.last);
        out.heatingWindow =
            FitWindow{st.heating->fromS, st.heating->toS, static_cast<int>(rise.size())};
        if (SensorHealth::constant(samplesIn(m_records, s, *st.heating, key.first, key.last))) {
            out.flags << QStringLiteral("thermistor stuck in the heating window");
        } else {
            const auto fit = runCached(m_cache->heating[s], key, [&](double kStart) {
                return LineSourceFit(source, *st.onS).fit(rise, kStart);
            });
            if (!fit) {
                out.flags << fit.reason();
            } else {
                heating = *fit;
                out.kHeatingWPerMK = fit->kWPerMK;
                out.heatingOffsetK = fit->offsetK;
                out.heatingRmsC = fit->rmsC;
                if (fit->records < kFewestRecords) {
                    out.flags << QStringLiteral("heating fit: fewer than 5 records");
                }
                if (fit->rmsC > kHighestRmsC) {
                    out.flags << QStringLiteral("heating fit: RMS misfit above 5 mK");
                }
            }
        }
    }
    std::optional<ConductivityEstimate> cooling;
    if (st.cooling) {
        FitKey key = base;
        const Samples rise = riseIn(*st.cooling, key.first, key.last);
        out.coolingWindow =
            FitWindow{st.cooling->fromS, st.cooling->toS, static_cast<int>(rise.size())};
        const auto fit = runCached(m_cache->cooling[s], key, [&](double kStart) {
            return CoolingFit(source, *st.onS, *st.offS).fit(rise, kStart);
        });
        if (!fit) {
            out.flags << fit.reason();
        } else {
            cooling = *fit;
            out.kCoolingWPerMK = fit->kWPerMK;
            out.kCoolingErrWPerMK = fit->kErrWPerMK;
            out.coolingRmsC = fit->rmsC;
            if (fit->records < kFewestRecords) {
                out.flags << QStringLiteral("cooling fit: fewer than 5 records");
            }
            if (fit->rmsC > kHighestRmsC) {
                out.flags << QStringLiteral("cooling fit: RMS misfit above 5 mK");
            }
        }
    }
    const auto& estimate = st.pulse ? cooling : heating;
    if (estimate) {
        out.kWPerMK = estimate->kWPerMK;
        out.kErrWPerMK = estimate->kErrWPerMK;
        out.kappaM2PerS = estimate->kappaM2PerS;
        out.kMethod = st.pulse ? QStringLiteral("cooling") : QStringLiteral("heating");
        if (estimate->kWPerMK < kLowestK || estimate->kWPerMK > kHighestK) {
            out.flags << QStringLiteral("k outside 0.2 to 5 W/(m K)");
        }
    } else if (st.pulse && !st.cooling) {
        out.flags << QStringLiteral("heat pulse without records after it: no k");
    }
    for (const auto& rms : {out.heatingRmsC, out.coolingRmsC}) {
        if (rms) {
            out.fitRmsC = std::max(out.fitRmsC.value_or(0.0), *rms);
        }
    }
}

} // namespace quorvane::analysis
