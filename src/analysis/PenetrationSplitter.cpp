#include "analysis/PenetrationSplitter.h"

#include "analysis/PenetrationDetector.h"
#include "analysis/SensorHealth.h"

#include <algorithm>
#include <cmath>

namespace quorvane::analysis {

namespace {

double median(std::vector<double> v) {
    if (v.empty()) {
        return std::nan("");
    }
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    double m = *middle;
    if (v.size() % 2 == 0) {
        m = (m + *std::max_element(v.begin(), middle)) / 2.0;
    }
    return m;
}

bool heatedBetween(const StationRecords& records, std::size_t from, std::size_t to) {
    const auto& h = records.heater();
    return std::any_of(h.begin() + static_cast<std::ptrdiff_t>(from),
                       h.begin() + static_cast<std::ptrdiff_t>(to), [](int v) { return v > 0; });
}

} // namespace

std::optional<std::size_t>
PenetrationSplitter::nextJump(const StationRecords& records, std::size_t from, std::size_t end,
                              const std::array<bool, kSensorCount>& inUse, double thresholdK) {
    for (std::size_t i = from + PenetrationDetector::kFewestBefore; i < end; ++i) {
        // The heater's rise, and the cooling after it, are no penetration: neither the record
        // nor the ones it is compared with may be heated.
        const std::size_t first = i - std::min(i - from, PenetrationDetector::kMedianRecords);
        if (heatedBetween(records, first, i + 1)) {
            continue;
        }
        if (PenetrationDetector::jumpsAt(records, from, i, inUse, thresholdK)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> PenetrationSplitter::pullOut(const StationRecords& records,
                                                        std::size_t jump, std::size_t baseline,
                                                        const std::array<bool, kSensorCount>& inUse,
                                                        double thresholdK) {
    // The water's temperature at each thermistor: the records the jump was measured against.
    std::array<double, kSensorCount> water{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        if (!inUse[s]) {
            continue;
        }
        std::vector<double> v;
        for (std::size_t i = baseline; i < jump; ++i) {
            if (SensorHealth::usable(records.temperatureC(s)[i])) {
                v.push_back(records.temperatureC(s)[i]);
            }
        }
        water[s] = median(v);
    }
    const std::size_t n = records.size();
    auto inWater = [&](std::size_t i) {
        for (std::size_t s = 0; s < kSensorCount; ++s) {
            const double v = records.temperatureC(s)[i];
            if (inUse[s] && !(std::abs(v - water[s]) < thresholdK)) {
                return false;
            }
        }
        return true;
    };
    // A fall: some thermistor came down by more than the threshold over the last few records
    // (a station that merely decayed to the water's temperature did not come out).
    auto fell = [&](std::size_t i) {
        for (std::size_t s = 0; s < kSensorCount; ++s) {
            if (!inUse[s]) {
                continue;
            }
            const auto& v = records.temperatureC(s);
            for (std::size_t back = 1; back <= 3 && back <= i - jump; ++back) {
                if (v[i - back] - v[i] > thresholdK) {
                    return true;
                }
            }
        }
        return false;
    };
    for (std::size_t i = jump + 1; i < n; ++i) {
        if (records.heater()[i] > 0 || !inWater(i) || (i + 1 < n && !inWater(i + 1)) || !fell(i)) {
            continue;
        }
        // The pull-out is where the fall began: records that fell faster than any decay
        // in the sediment does (the threshold in one record) were already in the water.
        std::size_t first = i;
        while (first > jump + 1) {
            bool falling = false;
            for (std::size_t s = 0; s < kSensorCount; ++s) {
                const auto& v = records.temperatureC(s);
                if (inUse[s] && v[first - 2] - v[first - 1] > thresholdK &&
                    v[first - 1] - water[s] > thresholdK) {
                    falling = true;
                }
            }
            if (!falling) {
                break;
            }
            --first;
        }
        return first;
    }
    return std::nullopt;
}

std::optional<std::size_t>
PenetrationSplitter::dropBefore(const StationRecords& records, std::size_t from, std::size_t end,
                                const std::array<bool, kSensorCount>& inUse, double thresholdK) {
    // Without a jump seen the water's temperature is not known: a pull-out then shows as every
    // thermistor falling by more than the threshold and then staying level.
    for (std::size_t i = from + 1; i + 2 < end; ++i) {
        if (heatedBetween(records, i - 1, i + 3)) {
            continue;
        }
        bool all = true;
        for (std::size_t s = 0; s < kSensorCount && all; ++s) {
            if (!inUse[s]) {
                continue;
            }
            const auto& v = records.temperatureC(s);
            // Water stays level; a decay in the sediment goes on falling.
            all = v[i - 1] - v[i] > thresholdK && std::abs(v[i + 1] - v[i]) < thresholdK / 10.0 &&
                  std::abs(v[i + 2] - v[i + 1]) < thresholdK / 10.0;
        }
        if (all) {
            return i;
        }
    }
    return std::nullopt;
}

std::vector<PenetrationSplitter::Span> PenetrationSplitter::split(const StationRecords& records,
                                                                  double thresholdK) {
    std::vector<Span> spans;
    const std::size_t n = records.size();
    if (n == 0) {
        return spans;
    }
    std::array<bool, kSensorCount> inUse{};
    for (std::size_t s = 0; s < kSensorCount; ++s) {
        inUse[s] = SensorHealth::judge(records.temperatureC(s)) == SensorHealth::State::Working;
    }
    if (std::none_of(inUse.begin(), inUse.end(), [](bool b) { return b; })) {
        spans.push_back({0, n, std::nullopt, false});
        return spans;
    }
    std::size_t begin = 0;
    while (begin < n) {
        const auto jump = nextJump(records, begin, n, inUse, thresholdK);
        if (!jump) {
            spans.push_back({begin, n, std::nullopt, false});
            break;
        }
        // A probe already in the sediment at the start that was pulled out before this jump.
        if (begin == 0 && *jump > kSettleRecords) {
            const auto drop = dropBefore(records, 0, *jump - kSettleRecords, inUse, thresholdK);
            if (drop) {
                spans.push_back({0, *drop, std::nullopt, true});
                begin = *drop;
                continue;
            }
        }
        const std::size_t baseline =
            *jump - std::min(*jump - begin, PenetrationDetector::kMedianRecords);
        Span span{begin, n, jump, false};
        const auto out = pullOut(records, *jump, baseline, inUse, thresholdK);
        if (out) {
            span.end = *out;
            span.pulledOut = true;
        } else if (const auto again =
                       nextJump(records, *jump + kSettleRecords + 1, n, inUse, thresholdK)) {
            // Pulled out where the thermistors could not tell: the next jump ends it, with
            // two records left before that jump to compare it with.
            span.end = std::max(*jump + 1, *again - PenetrationDetector::kFewestBefore);
        }
        spans.push_back(span);
        begin = span.end;
    }
    return spans;
}

StationRecords PenetrationSplitter::slice(const StationRecords& records, const Span& span) {
    StationRecords out;
    out.logIntervalS = records.logIntervalS;
    out.serial = records.serial;
    out.fileName = records.fileName;
    out.badLines = records.badLines;
    for (std::size_t i = span.begin; i < span.end && i < records.size(); ++i) {
        std::array<double, kSensorCount> t{};
        for (std::size_t s = 0; s < kSensorCount; ++s) {
            t[s] = records.temperatureC(s)[i];
        }
        out.append(records.timeS()[i], t, records.heater()[i]);
    }
    return out;
}

} // namespace quorvane::analysis
