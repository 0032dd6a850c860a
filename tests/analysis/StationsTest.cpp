#include "analysis/Stations.h"
#include "SyntheticStation.h"
#include "analysis/Reduction.h"

#include <gtest/gtest.h>

#include <functional>

namespace quorvane::analysis {
namespace {

using test::SyntheticStation;

// Real probes: records 10 s apart, five in the water, a pulse of two records.
SyntheticStation penetration(double startS, int records, double k, double gradient) {
    SyntheticStation s;
    s.startS = startS;
    s.intervalS = 10.0;
    s.records = records;
    s.penetrationRecord = 5;
    s.heatDelayRecords = 42;
    s.heatRecords = 2;
    s.level = 200;
    s.k = {k, k, k, k, k};
    s.gradientKPerM = gradient;
    s.frictionKs = {300.0, 400.0, 500.0, 450.0, 350.0};
    return s;
}

void appendAll(StationRecords& to, const StationRecords& from) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        to.append(from.timeS()[i],
                  {from.temperatureC(0)[i], from.temperatureC(1)[i], from.temperatureC(2)[i],
                   from.temperatureC(3)[i], from.temperatureC(4)[i]},
                  from.heater()[i]);
    }
}

struct SplitCase {
    const char* name;
    std::vector<std::pair<int, double>> penetrations; // records of each, and its gradient
    std::vector<PenetrationSplitter::Span> want;
};

const SplitCase kSplits[] = {
    {"one penetration, no pull-out", {{120, 0.1}}, {{0, 120, 5, false}}},
    {"three penetrations of one lowering",
     {{110, 0.1}, {100, 0.2}, {130, 0.08}},
     {{0, 110, 5, true}, {110, 210, 115, true}, {210, 340, 215, false}}},
    // A small gradient: after the pulse the thermistors come within the threshold of the water
    // only slowly, and never with a fall; the second jump ends the first penetration.
    {"a small gradient", {{200, 0.02}, {100, 0.02}}, {{0, 200, 5, true}, {200, 300, 205, false}}},
};

TEST(PenetrationSplitter, FindsEachPenetrationAndItsPullOut) {
    for (const auto& c : kSplits) {
        SCOPED_TRACE(c.name);
        StationRecords run;
        run.logIntervalS = 10.0;
        double start = 1796734800.0;
        for (const auto& [records, gradient] : c.penetrations) {
            appendAll(run, penetration(start, records, 1.0, gradient).make());
            start += records * 10.0;
        }
        const auto spans = PenetrationSplitter::split(run);
        ASSERT_EQ(spans.size(), c.want.size());
        for (std::size_t i = 0; i < spans.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(spans[i].begin, c.want[i].begin);
            EXPECT_EQ(spans[i].end, c.want[i].end);
            EXPECT_EQ(spans[i].jump, c.want[i].jump);
        }
    }
}

TEST(PenetrationSplitter, ARunThatBeganInTheSedimentIsAStationOfItsOwn) {
    StationRecords run;
    run.logIntervalS = 10.0;
    SyntheticStation inPlace = penetration(1796734800.0, 90, 1.0, 0.1);
    inPlace.penetrationRecord = -30; // in the sediment for five minutes already
    inPlace.heatDelayRecords = 70;
    appendAll(run, inPlace.make());
    appendAll(run, penetration(1796734800.0 + 900.0, 120, 1.0, 0.1).make());
    const auto spans = PenetrationSplitter::split(run);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_FALSE(spans[0].jump);
    EXPECT_EQ(spans[0].end, 90u);
    EXPECT_EQ(spans[1].jump, std::optional<std::size_t>(95));
}

// Each penetration of one lowering reduced on its own gives its own sediment back.
TEST(Stations, EachPenetrationIsReducedOnItsOwn) {
    StationRecords run;
    run.logIntervalS = 10.0;
    const std::vector<std::pair<double, double>> truth{{0.8, 0.1}, {1.5, 0.2}};
    double start = 1796734800.0;
    std::vector<SyntheticStation> made;
    for (const auto& [k, gradient] : truth) {
        made.push_back(penetration(start, 150, k, gradient));
        appendAll(run, made.back().make());
        start += 1500.0;
    }
    StationRecords second;
    second.logIntervalS = 10.0;
    appendAll(second, penetration(start + 3600.0, 150, 1.0, 0.05).make());
    const auto stations = Stations::of({run, second});
    ASSERT_EQ(stations.size(), 3u);
    EXPECT_EQ(stations[0].run, 1);
    EXPECT_EQ(stations[1].penetration, 2);
    EXPECT_EQ(stations[2].run, 2);
    EXPECT_EQ(stations[2].penetration, 1);
    EXPECT_EQ(stations[2].index, 3);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ProbeProfile line;
        line.alpha = 0.0; // the synthetic stations are ideal line sources
        Reduction reduction(line);
        reduction.setRecords(stations[i].records);
        const auto r = reduction.results();
        EXPECT_TRUE(r.penetrationSeen);
        EXPECT_DOUBLE_EQ(*r.penetrationS, made[i].penetrationS());
        ASSERT_TRUE(r.gradientKPerM && r.harmonicMeanKWPerMK) << r.flags.join("; ").toStdString();
        EXPECT_NEAR(*r.gradientKPerM, truth[i].second, truth[i].second * 0.01);
        EXPECT_NEAR(*r.harmonicMeanKWPerMK, truth[i].first, truth[i].first * 0.01);
    }
}

} // namespace
} // namespace quorvane::analysis
