#include "BullardQuadrature.h"
#include "OutputQueue.h"
#include "ProbeSimulator.h"
#include "ProgramDecoding.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <numbers>
#include <regex>
#include <sstream>

namespace quorvane::probesim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
const Clock::time_point t0{};

// Writes everything queued, letting time run on to each piece's moment.
std::string drain(OutputQueue& q, Clock::time_point& now,
                  std::vector<std::string>* logs = nullptr) {
    std::string out;
    while (auto at = q.nextWriteTime(now)) {
        now = *at;
        auto r = q.writeSome(
            [&out](const char* d, std::size_t n) {
                out.append(d, n);
                return ssize_t(n);
            },
            now);
        if (logs) {
            logs->insert(logs->end(), r.sent.begin(), r.sent.end());
        }
    }
    return out;
}

TEST(OutputQueue, LogsAChunkOnlyWhenItsLastByteIsOut) {
    OutputQueue q;
    q.push({"abcdef", {}, {"one"}}, t0);
    q.push({"gh", 100ms, {"two"}}, t0);
    std::string got;
    auto fiveAtATime = [&got](const char* d, std::size_t n) {
        n = std::min<std::size_t>(n, 5);
        got.append(d, n);
        return ssize_t(n);
    };
    auto r = q.writeSome(fiveAtATime, t0);
    EXPECT_EQ(got, "abcde");
    EXPECT_TRUE(r.sent.empty());
    EXPECT_TRUE(r.blocked);
    r = q.writeSome(fiveAtATime, t0 + 1ms);
    EXPECT_EQ(got, "abcdef");
    EXPECT_EQ(r.sent, std::vector<std::string>{"one"});
    // The delayed piece waits its time after the previous one went out.
    r = q.writeSome(fiveAtATime, t0 + 100ms);
    EXPECT_EQ(got, "abcdef");
    EXPECT_EQ(q.nextWriteTime(t0 + 100ms), t0 + 101ms);
    r = q.writeSome(fiveAtATime, t0 + 101ms);
    EXPECT_EQ(got, "abcdefgh");
    EXPECT_EQ(r.sent, std::vector<std::string>{"two"});
    EXPECT_TRUE(q.empty());
}

TEST(OutputQueue, WouldBlockKeepsEverything) {
    OutputQueue q;
    q.push({"xyz", {}, {"done"}}, t0);
    const auto r = q.writeSome(
        [](const char*, std::size_t) {
            errno = EAGAIN;
            return ssize_t(-1);
        },
        t0);
    EXPECT_TRUE(r.blocked);
    EXPECT_EQ(q.pendingBytes(), 3u);
}

TEST(OutputQueue, PacingHoldsTheCharacterRate) {
    OutputQueue q(960.0); // 9600 baud
    q.push({std::string(2000, 'x'), {}, {}}, t0);
    std::size_t written = 0;
    for (auto now = t0; now <= t0 + 1s; now += 1ms) {
        q.writeSome(
            [&written](const char*, std::size_t n) {
                written += n;
                return ssize_t(n);
            },
            now);
    }
    EXPECT_NEAR(double(written), 960.0, 15.0);
}

SimOptions quietOptions() {
    SimOptions o;
    o.noiseK = 0.0;
    return o;
}

struct Harness {
    explicit Harness(SimOptions o = quietOptions())
        : log(&logText, [] { return std::chrono::system_clock::time_point{}; }),
          sim(o, 1, log, t0) {
        sim.startSession(t0);
    }
    std::string send(std::string_view bytes) {
        sim.onInput(bytes, now);
        std::vector<std::string> sent;
        const std::string out = drain(sim.output(), now, &sent);
        for (const auto& l : sent) {
            log.write(l);
        }
        return out;
    }
    std::ostringstream logText;
    SimLog log;
    ProbeSimulator sim;
    Clock::time_point now = t0;
};

TEST(ProbeSimulator, AnswersWithTheExactBytes) {
    SimOptions o = quietOptions();
    o.serial = "1234";
    o.firmware = "9.99";
    Harness h(o);
    EXPECT_EQ(h.send("#HFN"), "#HFN 1234\r\n");
    EXPECT_EQ(h.send("#HFH"), "Quorvane Serial Heatflow, Ver 9.99\r\n");
    const std::string record = h.send("T");
    ASSERT_EQ(record.size(), 45u);
    EXPECT_EQ(record.substr(0, 19), std::string(":\x03T 0001 2A80 0380 "));
    EXPECT_EQ(record.substr(43), "\r\n");
    const auto t = test::programDecodeLine(record.substr(0, 43));
    ASSERT_TRUE(t.has_value());
    for (double v : *t) {
        EXPECT_NEAR(v, 4.0, 0.01);
    }
    EXPECT_EQ(h.send("!P00 xyz"), "");
}

// Live penetration counts from the simulator's start, without the file mode's half interval.
TEST(ProbeSimulator, LiveRecordsFollowTheModelThroughPenetration) {
    SimOptions o = quietOptions();
    o.penetrationsS = {10.0};
    o.model.profile.tiltDeg = 60.0;
    o.model.profile.alpha = 0.0; // the line source's friction A/(t - tp)
    Harness h(o);
    auto decode = [&h] { return *test::programDecodeLine(h.send("T").substr(0, 43)); };
    h.now += 5s;
    for (double v : decode()) {
        EXPECT_NEAR(v, 4.0, 0.01);
    }
    h.now += 15s; // 10 s in the sediment: friction 10/10 on T_eq = 4 + 0.064 z cos 60
    const auto in = decode();
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(in[std::size_t(i)], 5.0 + 0.016 * i, 0.01) << i;
    }
}

// The live probe is the same cylinder as the file mode's: 10 s after penetration friction
// 10 K s on a 1 mm probe with α 2 is A·(2ακ/a²)·F(2, κ·10 s/a²), below the line's 1 K.
TEST(ProbeSimulator, LiveRecordsFollowTheCylinder) {
    SimOptions o = quietOptions();
    o.penetrationsS = {10.0};
    Harness h(o);
    h.now += 20s;
    const auto in = *test::programDecodeLine(h.send("T").substr(0, 43));
    const double kappa = ForwardModel::diffusivity(1.0);
    const double excess = 10.0 * 4.0 * kappa / 1e-6 * BullardQuadrature(2.0).f(kappa * 10.0 / 1e-6);
    EXPECT_NEAR(excess, 0.86, 0.01);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(in[std::size_t(i)], 4.0 + 0.032 * i + excess, 0.01) << i;
    }
}

TEST(ProbeSimulator, HeaterCommandsWarmTheRecordsAndTheyCoolAfter) {
    Harness h;
    auto decode = [&h] { return *test::programDecodeLine(h.send("T").substr(0, 43)); };
    h.send("!Q003C C8 "); // 60 s at full power
    h.now += 30s;
    const auto warm = decode();
    for (double v : warm) {
        EXPECT_GT(v, 5.0);
    }
    h.now += 40s;
    h.sim.onTick(h.now);
    h.now += 120s;
    const auto cool = decode();
    // 190 s on, 130 s after switch-off and after penetration at 60 s: the line source's
    // late-time tail q/(4 pi k) ln(190/130) over each equilibrium, plus friction 10/130.
    const double tail = 50.0 / (4.0 * std::numbers::pi) * std::log(190.0 / 130.0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(cool[i], 4.0 + 0.064 * 0.5 * i + 10.0 / 130.0 + tail, 0.02) << i;
        EXPECT_LT(cool[i], warm[i] - 5.0) << i;
    }
    EXPECT_NE(h.logText.str().find("HEATER-ON duration=60 level=200"), std::string::npos);
    EXPECT_NE(h.logText.str().find("HEATER-EXPIRED"), std::string::npos);
}

TEST(ProbeSimulator, DropsEveryNthRequest) {
    SimOptions o = quietOptions();
    o.dropEvery = 3;
    Harness h(o);
    int answered = 0;
    for (int i = 0; i < 9; ++i) {
        answered += !h.send("T").empty();
    }
    EXPECT_EQ(answered, 6);
}

TEST(ProbeSimulator, HangsUpAfterNRecordsAndStartsAfreshPerSession) {
    SimOptions o = quietOptions();
    o.hangupAfter = 2;
    Harness h(o);
    EXPECT_FALSE(h.send("T").empty());
    EXPECT_FALSE(h.sim.hangupDue());
    EXPECT_FALSE(h.send("TT").empty());
    EXPECT_TRUE(h.sim.hangupDue());
    h.sim.startSession(h.now);
    EXPECT_FALSE(h.sim.hangupDue());
    EXPECT_EQ(h.send("T").size(), 45u);
}

TEST(ProbeSimulator, LogsCommandsAndRecordsWithUtcStamps) {
    Harness h;
    h.send("#HFNTzz");
    const std::string text = h.logText.str();
    const std::regex line(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z ([A-Z-]+)( .*)?$)");
    std::istringstream in(text);
    std::vector<std::string> events;
    for (std::string l; std::getline(in, l);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l, m, line)) << l;
        events.push_back(m[1]);
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"CMD", "CMD", "IGNORED", "SENT-REPLY", "SENT-GOOD"}));
    const std::string good = "Z SENT-GOOD  0001 2A80 0380 ";
    EXPECT_NE(text.find(good), std::string::npos);
    EXPECT_NE(text.find("Z CMD T\n"), std::string::npos);
}

TEST(ProbeSimulator, FloodSendsRecordsUnpromptedAtTheRate) {
    SimOptions o = quietOptions();
    o.floodRate = 4500.0; // 100 records of 45 characters a second
    Harness h(o);
    std::string out;
    for (auto now = t0; now <= t0 + 1s; now += 5ms) {
        h.sim.onTick(now);
        Clock::time_point at = now;
        out += drain(h.sim.output(), at);
    }
    EXPECT_NEAR(double(out.size()) / 45.0, 100.0, 3.0);
    EXPECT_EQ(out.size() % 45, 0u);
}

TEST(ProbeSimulator, FloodGarbageNeverBreaksALine) {
    SimOptions o = quietOptions();
    o.floodRate = 10000.0;
    o.floodGarbage = true;
    Harness h(o);
    std::string out;
    for (auto now = t0; now <= t0 + 500ms; now += 10ms) {
        h.sim.onTick(now);
        Clock::time_point at = now;
        out += drain(h.sim.output(), at);
    }
    EXPECT_NEAR(double(out.size()), 5000.0, 250.0);
    EXPECT_EQ(out.find_first_of("\r\n"), std::string::npos);
}

} // namespace
} // namespace quorvane::probesim
