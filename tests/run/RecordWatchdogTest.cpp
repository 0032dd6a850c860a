#include "run/RecordWatchdog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeTextPane.h"
#include "fakes/FakeTimer.h"
#include "logging/EventLog.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quorvane {
namespace {

enum class Op { Start, Record, Stop };

struct Step {
    std::int64_t atMs;
    Op op;
    int logInterval = 0; // Start only
};

struct WatchCase {
    const char* name;
    std::vector<Step> steps;
    std::int64_t endMs;
    // "+<seconds after the first step> <event text>"
    std::vector<std::string> events;
};

void PrintTo(const WatchCase& c, std::ostream* out) {
    *out << c.name;
}

struct WatchRig {
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeTimer timer{timeline};
    fakes::FakeTextPane pane;
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    EventLog events{clock, sysTime, pane, files, dialogs, "/opt/quorvane/QuorvaneEvents.log"};
    RecordWatchdog watchdog{timer, clock, events};

    // Each event as "+<seconds since the fake clock's start> <text>".
    std::vector<std::string> eventsBySecond() const {
        std::vector<std::string> out;
        std::istringstream in(pane.text());
        for (std::string line; std::getline(in, line);) {
            const int h = std::stoi(line.substr(12, 2));
            const int m = std::stoi(line.substr(15, 2));
            const int s = std::stoi(line.substr(18, 2));
            const int since = h * 3600 + m * 60 + s - (13 * 3600 + 51 * 60 + 10);
            out.push_back("+" + std::to_string(since) + " " + line.substr(22, line.size() - 23));
        }
        return out;
    }
};

class RecordWatch : public ::testing::TestWithParam<WatchCase> {};

TEST_P(RecordWatch, EventsOfATimerSequence) {
    const WatchCase& c = GetParam();
    WatchRig rig;
    for (const Step& step : c.steps) {
        rig.timeline.advance(step.atMs - rig.timeline.nowMs());
        switch (step.op) {
        case Op::Start:
            rig.watchdog.start(step.logInterval);
            break;
        case Op::Record:
            rig.watchdog.recordLogged();
            break;
        case Op::Stop:
            rig.watchdog.stop();
            break;
        }
    }
    rig.timeline.advance(c.endMs - rig.timeline.nowMs());
    EXPECT_EQ(rig.eventsBySecond(), c.events);
    EXPECT_TRUE(rig.dialogs.messages().empty());
    EXPECT_EQ(rig.files.content("/opt/quorvane/QuorvaneEvents.log"), rig.pane.text());
}

const std::string kSilent10 = "No data record received for 10 seconds.";

const WatchCase kWatchCases[] = {
    {"SilentFromStartRun", {{0, Op::Start, 1}}, 60000, {"+10 " + kSilent10}},
    {"OneEventPerSilenceHoweverLong", {{0, Op::Start, 1}}, 7 * 86400000LL, {"+10 " + kSilent10}},
    {"ThreeLogIntervalsAboveTenSeconds",
     {{0, Op::Start, 5}, {2000, Op::Record}},
     40000,
     {"+17 No data record received for 15 seconds."}},
    {"LongestLogInterval",
     {{0, Op::Start, 64}},
     200000,
     {"+192 No data record received for 192 seconds."}},
    {"RecordsJustInTimeKeepItQuiet",
     {{0, Op::Start, 2}, {9999, Op::Record}, {19998, Op::Record}},
     29000,
     {}},
    {"SilenceThenRecordsAgainThenAnotherSilence",
     {{0, Op::Start, 1}, {1000, Op::Record}, {2000, Op::Record}, {25500, Op::Record}},
     40000,
     {"+12 " + kSilent10, "+25 Data records received again after 23 seconds.", "+35 " + kSilent10}},
    {"OnlyTheFirstRecordAfterASilenceIsTold",
     {{0, Op::Start, 1}, {11000, Op::Record}, {11500, Op::Record}, {12000, Op::Record}},
     21000,
     {"+10 " + kSilent10, "+11 Data records received again after 11 seconds."}},
    {"LogIntervalZeroWatchesNothing", {{0, Op::Start, 0}, {1000, Op::Record}}, 60000, {}},
    {"NothingBeforeStartRun", {{0, Op::Record}}, 60000, {}},
    {"FinishBeforeTheThresholdIsQuiet",
     {{0, Op::Start, 1}, {9000, Op::Stop}, {15000, Op::Record}},
     60000,
     {}},
    {"RecordsAfterFinishAreNotToldAsComingBack",
     {{0, Op::Start, 1}, {12000, Op::Stop}, {13000, Op::Record}},
     60000,
     {"+10 " + kSilent10}},
    {"ResumeCountsFromItself",
     {{0, Op::Start, 1}, {500, Op::Record}, {4000, Op::Stop}, {30000, Op::Start, 1}},
     45000,
     {"+40 " + kSilent10}},
    {"ResumeAfterAToldSilenceStartsAFreshWatch",
     {{0, Op::Start, 1}, {10500, Op::Stop}, {20000, Op::Start, 1}, {21000, Op::Record}},
     40000,
     {"+10 " + kSilent10, "+31 " + kSilent10}},
    {"RecordBeforeStartDoesNotCount",
     {{0, Op::Record}, {5000, Op::Start, 4}},
     30000,
     {"+17 No data record received for 12 seconds."}},
};

INSTANTIATE_TEST_SUITE_P(Sequences, RecordWatch, ::testing::ValuesIn(kWatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordWatchThreshold, ThreeLogIntervalsButAtLeastTenSeconds) {
    const std::pair<int, int> cases[] = {{1, 10}, {3, 10}, {4, 12}, {10, 30}, {64, 192}};
    for (const auto& [interval, seconds] : cases) {
        EXPECT_EQ(RecordWatchdog::thresholdSeconds(interval), seconds) << interval;
    }
}

} // namespace
} // namespace quorvane
