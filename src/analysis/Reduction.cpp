#include "analysis/Reduction.h"

#include "analysis/CylinderResponse.h"
#include "analysis/HeaterTimes.h"
#include "analysis/PenetrationDetector.h"
#include "analysis/SensorReduction.h"
#include "analysis/StationPlan.h"
#include "analysis/StationSummary.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

const std::array<QString, kSensorCount> kNames = {QStringLiteral("TTop"), QStringLiteral("T2"),
                                                  QStringLiteral("T3"), QStringLiteral("T4"),
                                                  QStringLiteral("TBot")};

int recordsIn(const std::vector<double>& t, const TimeWindow& w) {
    return static_cast<int>(
        std::count_if(t.begin(), t.end(), [&](double x) { return x >= w.fromS && x <= w.toS; }));
}

// Keeps a window the operator gave inside [low, high]; says so when it had to.
std::optional<TimeWindow> clipped(const TimeWindow& w, double low, double high, const QString& what,
                                  QStringList& flags) {
    if (!(w.fromS < w.toS)) {
        flags << what + QStringLiteral(" window: its start is not before its end");
        return std::nullopt;
    }
    if (w.toS <= low || w.fromS >= high) {
        flags << what + QStringLiteral(" window outside the records");
        return std::nullopt;
    }
    TimeWindow c{std::max(w.fromS, low), std::min(w.toS, high)};
    if (c.fromS != w.fromS || c.toS != w.toS) {
        flags << what + QStringLiteral(" window cut to the records it can use");
    }
    return c;
}

std::shared_ptr<const CylinderResponse> responseFor(double alpha) {
    // alpha 0 is a line: no cylinder.
    return alpha > 0.0 ? std::make_shared<const CylinderResponse>(alpha) : nullptr;
}

} // namespace

Reduction::Reduction(ProbeProfile profile, ReductionOptions options)
    : m_profile(std::move(profile)), m_options(options), m_response(responseFor(m_profile.alpha)),
      m_penetration(std::make_unique<PenetrationDetector>(options.penetrationThresholdK)),
      m_heater(std::make_unique<HeaterTimes>()) {
    for (auto& s : m_sensors) {
        s = std::make_unique<SensorReduction>();
    }
}

Reduction::~Reduction() = default;

void Reduction::setRecords(StationRecords records) {
    m_records = std::move(records);
    m_penetration->reset(m_options.penetrationThresholdK);
    m_heater->reset();
    for (auto& s : m_sensors) {
        s->forget();
    }
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
    if (!m_response || profile.alpha != m_profile.alpha) {
        m_response = responseFor(profile.alpha);
    }
    m_profile = profile;
    for (auto& s : m_sensors) {
        s->forget();
    }
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
    } else {
        out.tiltDeg = m_profile.tiltDeg;
    }
    if (m_records.empty()) {
        out.flags << QStringLiteral("no records");
        return out;
    }
    StationPlan station;
    plan(station, out);
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (m_profile.isDefault && station.health[s] == SensorHealth::State::Working) {
            out.sensors[s].flags << QStringLiteral("depth and k from the default probe profile");
        }
        m_sensors[s]->reduce(m_records, station, s, out.sensors[s]);
    }
    QStringList entered;
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (out.sensors[s].kMethod == QLatin1String("entered")) {
            entered << kNames[s];
        }
    }
    if (!entered.isEmpty()) {
        out.flags << QStringLiteral("k entered by the operator for ") + entered.join(", ");
    }
    StationSummary::Use use;
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        use.gradient[s] = !m_options.excludeFromGradient[s];
        use.k[s] = !m_options.excludeFromK[s];
        SensorResult& sensor = out.sensors[s];
        if (m_options.excludeFromGradient[s]) {
            sensor.excluded << QStringLiteral("gradient");
        }
        if (m_options.excludeFromK[s]) {
            sensor.excluded << QStringLiteral("k");
        }
        if (!sensor.excluded.isEmpty()) {
            sensor.excludedReason = m_options.exclusionReason[s];
            const QString why = sensor.excludedReason.isEmpty()
                                    ? QString()
                                    : QStringLiteral(": ") + sensor.excludedReason;
            sensor.flags << QStringLiteral("left out of the %1 by the operator%2")
                                .arg(sensor.excluded.size() == 2
                                         ? QStringLiteral("gradient and the mean k")
                                     : m_options.excludeFromGradient[s] ? QStringLiteral("gradient")
                                                                        : QStringLiteral("mean k"),
                                     why);
        }
    }
    out.probe = m_profile;
    StationSummary::summarise(m_profile, use, out);
    return out;
}

void Reduction::plan(StationPlan& st, ReductionResults& out) {
    const auto& t = m_records.timeS();
    st.firstS = t.front();
    st.lastS = t.back();
    st.radiusM = m_profile.radiusM;
    st.response = m_response;
    st.enteredK = m_options.enteredK;

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
    st.intervalS = interval;
    out.logIntervalS = interval;
    if (std::any_of(steps.begin(), steps.end(), [](double s) { return s <= 0.0; })) {
        out.flags << QStringLiteral("records out of time order");
    }
    if (interval > 0.0 &&
        std::any_of(steps.begin(), steps.end(), [&](double s) { return s > 1.5 * interval; })) {
        out.flags << QStringLiteral("gap in the records");
    }

    std::array<bool, kSensorCount> inUse{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        st.health[s] = SensorHealth::judge(m_records.temperatureC(s));
        inUse[s] = st.health[s] == SensorHealth::State::Working;
    }

    planHeater(st, out);

    // Penetration, searched before the heater's own rise.
    const std::size_t firstHeated = m_heater->onRecord().value_or(m_records.size());
    m_penetration->update(m_records, firstHeated, inUse);
    std::optional<double> penetration;
    if (m_options.penetrationS) {
        if (*m_options.penetrationS >= st.firstS && *m_options.penetrationS < st.lastS) {
            penetration = m_options.penetrationS;
            out.penetrationSetByOperator = true;
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
            st.lastInWaterS = t[*record - 1];
        }
        st.penetrationSeen = true;
        calibrate(st, out, inUse);
    } else {
        out.flags << (m_penetration->unplaced()
                          ? QStringLiteral("penetration not seen: the jump began at the first "
                                           "records, too early to place")
                          : QStringLiteral("penetration not seen"));
        if (m_options.calibrateBottomWater) {
            out.flags << QStringLiteral(
                "no calibration against the bottom water: no records in the water");
        }
    }
    st.penetrationS = penetration.value_or(st.firstS);
    out.penetrationS = st.penetrationS;

    const double decayEnd = m_heater->onRecord() ? st.onS.value_or(st.firstS) : st.lastS;
    planDecay(st, out, decayEnd);
}

void Reduction::planHeater(StationPlan& st, ReductionResults& out) {
    m_heater->update(m_records);
    if (!m_heater->onRecord()) {
        out.flags << QStringLiteral("no heater interval");
    } else if (m_heater->onAtStart()) {
        out.flags << QStringLiteral("heater on from the first record: no switch-on in the records");
    } else {
        st.onS = m_heater->onS(m_records);
        st.offS = m_heater->offS(m_records);
        st.qWPerM = m_heater->level() * m_profile.heaterWPerMPerLevel;
        out.heater.onS = st.onS;
        out.heater.offS = st.offS;
        out.heater.level = m_heater->level();
        out.heater.qWPerM = st.qWPerM;
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
    if (!st.onS || !(st.qWPerM > 0.0)) {
        return;
    }
    const double heatEnd = st.offS.value_or(st.lastS);
    st.pulse = st.offS && *st.offS - *st.onS < kPulseUnderS;
    out.heater.pulse = st.pulse;
    if (st.pulse) {
        if (m_options.heatingWindowS) {
            out.flags << QStringLiteral(
                "heat pulse: no heating fit, the heating window is not used");
        }
        if (m_options.pulseWindowS) {
            const double middle = (*st.onS + *st.offS) / 2.0;
            st.pulseGiven = clipped(
                {middle + m_options.pulseWindowS->first, middle + m_options.pulseWindowS->second},
                *st.offS, st.lastS, QStringLiteral("pulse"), out.flags);
        }
        return;
    }
    if (m_options.pulseWindowS) {
        out.flags << QStringLiteral("long heating: the pulse window is not used");
    }
    if (m_options.heatingWindowS) {
        st.heating = clipped(
            {*st.onS + m_options.heatingWindowS->first, *st.onS + m_options.heatingWindowS->second},
            *st.onS, heatEnd, QStringLiteral("heating"), out.flags);
    } else if (heatEnd > *st.onS) {
        st.heating = TimeWindow{*st.onS + (1.0 - kHeatingShare) * (heatEnd - *st.onS), heatEnd};
    }
    if (st.offS) {
        const double span = std::max(2.0 * (*st.offS - *st.onS), kShortestCoolingS);
        const double end = std::min(st.lastS, *st.offS + span);
        if (end > *st.offS) {
            st.cooling = TimeWindow{*st.offS, end};
        }
    }
}

void Reduction::planDecay(StationPlan& st, ReductionResults& out, double decayEnd) {
    const auto& t = m_records.timeS();
    if (m_heater->onAtStart()) {
        out.flags << QStringLiteral("no decay: the heater was on from the first record");
        return;
    }
    if (m_options.decayWindowS) {
        st.decay = clipped({st.penetrationS + m_options.decayWindowS->first,
                            st.penetrationS + m_options.decayWindowS->second},
                           st.penetrationS, decayEnd, QStringLiteral("decay"), out.flags);
        return;
    }
    if (!(decayEnd > st.penetrationS)) {
        out.flags << QStringLiteral("no decay: the heater came on at the penetration");
        return;
    }
    // Bullard's F holds from the start, and the early records pin the delay down; the 1/t
    // form holds only late.
    const double share = m_response ? kDecayShareBullard : kDecayShareLine;
    TimeWindow w{st.penetrationS + (1.0 - share) * (decayEnd - st.penetrationS), decayEnd};
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
}

void Reduction::calibrate(StationPlan& st, ReductionResults& out,
                          const std::array<bool, kSensorCount>& inUse) {
    // The quiet records in the water: those the penetration was measured against.
    const std::size_t record = *m_penetration->record();
    const std::size_t from = record - std::min(record, PenetrationDetector::kMedianRecords);
    std::array<double, kSensorCount> mean{};
    std::array<int, kSensorCount> count{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (!inUse[s]) {
            continue;
        }
        const auto& v = m_records.temperatureC(s);
        for (std::size_t i = from; i < record; ++i) {
            if (SensorHealth::usable(v[i])) {
                mean[s] += v[i];
                ++count[s];
            }
        }
    }
    double all = 0.0;
    int sensors = 0;
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (count[s] > 0) {
            mean[s] /= count[s];
            all += mean[s];
            ++sensors;
        }
    }
    if (sensors == 0) {
        return;
    }
    all /= sensors;
    out.bottomWaterC = all;
    if (!m_options.calibrateBottomWater) {
        return;
    }
    std::array<double, kSensorCount> offsets{};
    QStringList large;
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (count[s] > 0) {
            offsets[s] = mean[s] - all;
            if (std::abs(offsets[s]) > kLargestOffsetC) {
                large << kNames[s];
            }
        }
    }
    st.offsetsC = offsets;
    out.calibrationOffsetsC = offsets;
    out.flags << QStringLiteral("calibrated against the bottom water");
    if (!large.isEmpty()) {
        out.flags << QStringLiteral("calibration offset above 50 mK: ") + large.join(", ");
    }
}

} // namespace quorvane::analysis
