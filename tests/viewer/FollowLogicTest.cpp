#include "FakeFileWatcher.h"
#include "ViewerFiles.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeTimeline.h"
#include "viewer/DataFollower.h"
#include "viewer/EventLogFollower.h"
#include "viewer/RecordAge.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace viewertest;

// A follower on a fake watcher and clock, with what it handed on.
struct FollowRig {
    explicit FollowRig(std::size_t chunk = DataFileTail::kDefaultChunk)
        : clock(timeline, kStart * 1000),
          follower(
              watcher, clock, [this](const FollowUpdate& u) { updates.push_back(u); }, chunk) {}

    // Seconds (after kStart) of the records of the updates since the last call, "R" for a
    // restart and "!" for a problem.
    std::string seen() {
        std::string out;
        for (const FollowUpdate& u : updates) {
            if (u.restarted) {
                out += "R ";
            }
            if (!u.problem.empty()) {
                out += "! ";
            }
            for (const LogRecord& r : u.records) {
                out += std::to_string(r.utcSeconds - kStart) + " ";
            }
        }
        updates.clear();
        return out;
    }

    TempFolder folder{"follow"};
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock;
    fakes::FakeFileWatcher watcher;
    std::vector<FollowUpdate> updates;
    DataFollower follower;
};

TEST(DataFollower, ReadsOnlyWhenTheWatcherSpeaks) {
    FollowRig rig;
    const std::string file = rig.folder.path("run.log");
    // Each step: what the writer does, whether the watcher fires, what is handed on.
    const struct {
        const char* step;
        std::function<void(const TempFolder&)> write;
        bool fire;
        std::string seen;
    } steps[] = {
        {"a file with a header and two records",
         [](const TempFolder& f) { f.write("run.log", header() + rawLine(0) + rawLine(1)); }, false,
         ""},
        {"opened", [](const TempFolder&) {}, false, "R 0 1 "},
        {"a record, the watcher silent",
         [](const TempFolder& f) { f.append("run.log", rawLine(2)); }, false, ""},
        {"the watcher speaks", [](const TempFolder&) {}, true, "2 "},
        {"nothing new", [](const TempFolder&) {}, true, ""},
        {"half a record",
         [](const TempFolder& f) { f.append("run.log", rawLine(3).substr(0, 30)); }, true, ""},
        {"its rest", [](const TempFolder& f) { f.append("run.log", rawLine(3).substr(30)); }, true,
         "3 "},
        {"emptied by a new Initialize", [](const TempFolder& f) { f.write("run.log", ""); }, true,
         "R "},
        {"the new run's header and record",
         [](const TempFolder& f) { f.append("run.log", header() + rawLine(100)); }, true, "100 "},
        {"removed", [](const TempFolder& f) { std::filesystem::remove(f.path("run.log")); }, true,
         "! "},
        {"still missing: told once", [](const TempFolder&) {}, true, ""},
        {"back", [](const TempFolder& f) { f.write("run.log", header() + rawLine(200)); }, true,
         "R 200 "},
    };
    for (const auto& s : steps) {
        s.write(rig.folder);
        if (std::string(s.step) == "opened") {
            rig.follower.open(file);
            EXPECT_EQ(rig.watcher.watched, file);
        }
        if (s.fire) {
            rig.watcher.fire();
        }
        EXPECT_EQ(rig.seen(), s.seen) << s.step;
    }
}

TEST(DataFollower, ABigFileIsReadAChunkPerPoll) {
    FollowRig rig(4096);
    std::string text = header();
    for (int i = 0; i < 1000; ++i) {
        text += rawLine(i);
    }
    rig.folder.write("big.log", text);
    rig.follower.open(rig.folder.path("big.log"));
    EXPECT_TRUE(rig.follower.loading());
    EXPECT_EQ(rig.watcher.soonRequests, 1) << "the rest is read after pending events";
    const int polls = rig.watcher.drainSoon();
    EXPECT_EQ(polls + 1, static_cast<int>((text.size() + 4095) / 4096));
    EXPECT_FALSE(rig.follower.loading());
    qint64 records = 0;
    bool progress = true;
    // The first update (at open) says the view starts over; then one per chunk.
    for (std::size_t i = 1; i < rig.updates.size(); ++i) {
        records += static_cast<qint64>(rig.updates[i].records.size());
        progress &= rig.updates[i].more == (i + 1 < rig.updates.size());
    }
    EXPECT_EQ(records, 1000);
    EXPECT_TRUE(progress) << "every update but the last says more is coming";
    EXPECT_EQ(rig.updates.back().bytesRead, static_cast<qint64>(text.size()));
    EXPECT_FALSE(rig.follower.grewWhileWatched()) << "the first reading is no growth";
}

TEST(DataFollower, AgeOfTheNewestRecordAndGrowth) {
    FollowRig rig;
    rig.folder.write("run.log", header() + rawLine(0));
    rig.follower.open(rig.folder.path("run.log"));
    EXPECT_EQ(rig.follower.secondsSinceLastRecord(), 0);
    rig.timeline.advance(5000);
    EXPECT_EQ(rig.follower.secondsSinceLastRecord(), 5);
    EXPECT_FALSE(rig.follower.grewWhileWatched());
    rig.folder.append("run.log", rawLine(5));
    rig.watcher.fire();
    EXPECT_TRUE(rig.follower.grewWhileWatched());
    EXPECT_EQ(rig.follower.lastRecordUtc(), kStart + 5);
    EXPECT_EQ(rig.follower.secondsSinceLastRecord(), 0);
    rig.timeline.advance(3500);
    EXPECT_EQ(rig.follower.secondsSinceLastRecord(), 3);
    EXPECT_EQ(rig.follower.secondsSinceGrowth(), 3);
}

// A file opened by hand is being written while it grows; once it has not grown for long the
// run is over, and the window stops calling it late.
TEST(DataFollower, AFileThatStoppedGrowingIsNoLongerWritten) {
    FollowRig rig;
    rig.folder.write("run.log", header() + rawLine(0));
    rig.follower.open(rig.folder.path("run.log"));
    EXPECT_FALSE(rig.follower.secondsSinceGrowth());
    EXPECT_FALSE(RecordAge::stillWritten(rig.follower.secondsSinceGrowth(), 1.0));
    rig.folder.append("run.log", rawLine(1));
    rig.watcher.fire();
    const struct {
        int afterS;
        std::optional<double> interval;
        bool written;
        bool late;
    } steps[] = {
        {2, 1.0, true, false},    {5, 1.0, true, true},    {300, 1.0, true, true},
        {301, 1.0, false, false}, {301, 20.0, true, true}, {601, 20.0, false, false},
    };
    qint64 now = 0;
    for (const auto& s : steps) {
        rig.timeline.advance((s.afterS - now) * 1000);
        now = s.afterS;
        const bool written = RecordAge::stillWritten(rig.follower.secondsSinceGrowth(), s.interval);
        EXPECT_EQ(written, s.written) << s.afterS;
        EXPECT_EQ(
            RecordAge::describe(rig.follower.secondsSinceLastRecord(), s.interval, written).late,
            s.late)
            << s.afterS;
    }
}

TEST(RecordAge, LateOnlyDuringARunAfterThreeIntervals) {
    const struct {
        std::optional<qint64> seconds;
        std::optional<double> interval;
        bool running;
        const char* text;
        bool late;
    } cases[] = {
        {std::nullopt, 1.0, true, "no record yet", false},
        {3, 1.0, true, "3 s since the last record (log interval 1 s)", false},
        {4, 1.0, true, "4 s since the last record (log interval 1 s): late", true},
        {4, 1.0, false, "4 s since the last record (log interval 1 s)", false},
        {31, 10.0, true, "31 s since the last record (log interval 10 s): late", true},
        {30, 10.0, true, "30 s since the last record (log interval 10 s)", false},
        {2, 0.5, true, "2 s since the last record (log interval 0.5 s): late", true},
        {100, std::nullopt, true, "100 s since the last record", false},
        // A record stamped ahead of this computer's clock.
        {-5, 1.0, true, "the last record is stamped 5 s ahead of this computer's clock", false},
    };
    for (const auto& c : cases) {
        const RecordAge::Text t = RecordAge::describe(c.seconds, c.interval, c.running);
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.late, c.late) << c.text;
    }
}

// The event log: a test's own lines with the program's stamps.
std::string event(const std::string& text) {
    return stamp(kStart) + ": " + text + "\r\n";
}

TEST(EventLogFollower, OpensTheFileOfEachNewRun) {
    TempFolder folder("events");
    fakes::FakeFileWatcher watcher;
    std::vector<std::string> opened;
    std::vector<bool> states;
    EventLogFollower follower(watcher, {[&](const std::string& f) { opened.push_back(f); },
                                        [&](bool running) { states.push_back(running); }});
    const std::string start = "START RUN. HeatDelay: 5  HeatDuration: 4  PowerLevel: 120  "
                              "LogInterval: 1  Logfile: ";
    folder.write("QuorvaneEvents.log", event("Program loaded.") + event(start + "/data/old.log") +
                                           event("END RUN. Elapsed time:10 seconds") +
                                           event(start + "/data/a b.log"));
    follower.start(folder.path("QuorvaneEvents.log"));
    EXPECT_EQ(opened, std::vector<std::string>{"/data/a b.log"}) << "the last run, once";
    EXPECT_EQ(states, std::vector<bool>{true});

    const struct {
        std::string appended;
        std::vector<std::string> opened;
        std::vector<bool> states;
    } steps[] = {
        {event("Heater ON command sent"), {}, {}},
        {event("END RUN. Elapsed time:20 seconds"), {}, {false}},
        {event("RESUMED RUN. Elapsed time:20 seconds"), {}, {true}},
        {event(start + "/data/next.log").substr(0, 40), {}, {}},
        {event(start + "/data/next.log").substr(40), {"/data/next.log"}, {true}},
        {event("START RUN. without a file name"), {""}, {true}},
        {"garbage \x01\x02\r\n", {}, {}},
    };
    for (const auto& s : steps) {
        opened.clear();
        states.clear();
        folder.append("QuorvaneEvents.log", s.appended);
        watcher.fire();
        EXPECT_EQ(opened, s.opened) << s.appended;
        EXPECT_EQ(states, s.states) << s.appended;
    }
}

TEST(EventLogFollower, AnEventLogThatAppearsLaterIsReadWhole) {
    TempFolder folder("events-late");
    fakes::FakeFileWatcher watcher;
    std::vector<std::string> opened;
    EventLogFollower follower(watcher, {[&](const std::string& f) { opened.push_back(f); }, {}});
    follower.start(folder.path("QuorvaneEvents.log"));
    EXPECT_FALSE(follower.exists());
    watcher.fire();
    EXPECT_TRUE(opened.empty());
    folder.write("QuorvaneEvents.log", event("START RUN. HeatDelay: 1  Logfile: /x/run.log"));
    watcher.fire();
    EXPECT_EQ(opened, std::vector<std::string>{"/x/run.log"});
    EXPECT_TRUE(follower.runRunning());
}

} // namespace
} // namespace quorvane
