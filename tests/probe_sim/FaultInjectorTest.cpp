#include "FaultInjector.h"
#include "ProgramDecoding.h"
#include "SimLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

namespace quorvane::probesim {
namespace {

const Readings kReadings{0x0001, 0x2A80, 0x0380, 0x1FC5, 0x1FC4, 0x1FC3, 0x1FC6, 0x1FC5};

std::string joined(const FaultInjector::Emission& e) {
    std::string out;
    for (const auto& c : e.chunks) {
        out += c.bytes;
    }
    return out;
}

std::vector<std::string> logs(const FaultInjector::Emission& e) {
    std::vector<std::string> out;
    for (const auto& c : e.chunks) {
        out.insert(out.end(), c.logWhenSent.begin(), c.logWhenSent.end());
    }
    return out;
}

// Lines as the program frames them: text before each CR LF.
std::vector<std::string> frame(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t at;
    while ((at = bytes.find("\r\n")) != std::string_view::npos) {
        lines.emplace_back(bytes.substr(0, at));
        bytes.remove_prefix(at + 2);
    }
    return lines;
}

TEST(FaultInjector, WithoutFaultsEveryRecordIsGoodAndLogged) {
    FaultInjector f({}, 1);
    for (int i = 0; i < 5; ++i) {
        const auto e = f.emission(kReadings);
        EXPECT_TRUE(e.good);
        EXPECT_EQ(joined(e), RecordBuilder::line(kReadings));
        EXPECT_EQ(logs(e),
                  std::vector<std::string>{"SENT-GOOD " + RecordBuilder::payload(kReadings)});
    }
}

struct ModeCase {
    FaultMode mode;
    bool recordGood;
    // What the program sees: the lines framed, and which of them must be no record.
    std::function<void(const std::vector<std::string>&)> check;
};

class FaultModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(FaultModes, SpoilEveryRecordAsSaid) {
    const ModeCase& c = GetParam();
    FaultInjector f({{c.mode}, 1, false, std::chrono::milliseconds(300)}, 7);
    for (int i = 0; i < 20; ++i) {
        const auto e = f.emission(kReadings);
        ASSERT_EQ(e.fault, c.mode);
        EXPECT_EQ(e.good, c.recordGood);
        const auto lines = frame(joined(e));
        c.check(lines);
        // The log names the mode, then the spoiled line exactly as sent.
        const auto l = logs(e);
        ASSERT_GE(l.size(), 2u);
        EXPECT_EQ(l[0], "FAULT " + std::string(faultName(c.mode)));
        EXPECT_EQ(l[1].rfind("SENT-BAD ", 0), 0u);
        std::size_t accepted = 0;
        for (const auto& line : lines) {
            accepted += test::programDecodeLine(line).has_value();
        }
        EXPECT_EQ(accepted, c.recordGood ? 1u : 0u);
        EXPECT_EQ(l.back().rfind("SENT-GOOD ", 0) == 0, c.recordGood);
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, FaultModes,
    ::testing::Values(ModeCase{FaultMode::Garbage, true,
                               [](const auto& lines) {
                                   ASSERT_EQ(lines.size(), 2u);
                                   EXPECT_LT(lines[0].size(), 43u);
                                   EXPECT_EQ(lines[0].find_first_of("\r\n#:"), std::string::npos);
                                   EXPECT_EQ(lines[1],
                                             RecordBuilder::line(kReadings).substr(0, 43));
                               }},
                      ModeCase{FaultMode::LoneCr, false,
                               [](const auto& lines) {
                                   ASSERT_EQ(lines.size(), 1u);
                                   EXPECT_EQ(lines[0],
                                             RecordBuilder::line(kReadings).substr(0, 44));
                                   EXPECT_EQ(lines[0].back(), '\r');
                               }},
                      ModeCase{FaultMode::WrongLength, false,
                               [](const auto& lines) {
                                   ASSERT_EQ(lines.size(), 1u);
                                   EXPECT_TRUE(lines[0].size() == 42 || lines[0].size() == 44)
                                       << lines[0];
                               }},
                      ModeCase{FaultMode::BadHex, false,
                               [](const auto& lines) {
                                   ASSERT_EQ(lines.size(), 1u);
                                   ASSERT_EQ(lines[0].size(), 43u);
                                   int bad = 0;
                                   for (int i = 1; i < 8; ++i) {
                                       bad += !test::isHexField(lines[0].substr(4 + i * 5, 4));
                                   }
                                   EXPECT_EQ(bad, 1);
                                   EXPECT_EQ(lines[0].substr(0, 8), ":\x03T 0001");
                               }},
                      ModeCase{FaultMode::EqualRefs, false,
                               [](const auto& lines) {
                                   ASSERT_EQ(lines.size(), 1u);
                                   ASSERT_EQ(lines[0].size(), 43u);
                                   EXPECT_EQ(lines[0].substr(8, 5), lines[0].substr(13, 5));
                               }}),
    [](const auto& info) {
        std::string n(faultName(info.param.mode));
        n.erase(std::remove(n.begin(), n.end(), '-'), n.end());
        return n;
    });

TEST(FaultInjector, EveryNthRecordTakesTheNextModeInTurn) {
    FaultInjector f({{FaultMode::BadHex, FaultMode::EqualRefs}, 3, false, {}}, 1);
    std::vector<std::optional<FaultMode>> seen;
    for (int i = 0; i < 9; ++i) {
        seen.push_back(f.emission(kReadings).fault);
    }
    const std::vector<std::optional<FaultMode>> expected{
        std::nullopt,         std::nullopt, FaultMode::BadHex, std::nullopt,     std::nullopt,
        FaultMode::EqualRefs, std::nullopt, std::nullopt,      FaultMode::BadHex};
    EXPECT_EQ(seen, expected);
}

TEST(FaultInjector, SplitSendsEachRecordInTwoDelayedPiecesCutAnywhere) {
    FaultInjector f({{}, 3, true, std::chrono::milliseconds(250)}, 3);
    std::set<std::size_t> cuts;
    for (int i = 0; i < 50; ++i) {
        const auto e = f.emission(kReadings);
        ASSERT_EQ(e.chunks.size(), 2u);
        EXPECT_EQ(joined(e), RecordBuilder::line(kReadings));
        EXPECT_EQ(e.chunks[1].delayBefore, std::chrono::milliseconds(250));
        EXPECT_TRUE(e.chunks[0].logWhenSent.empty());
        cuts.insert(e.chunks[0].bytes.size());
    }
    EXPECT_GT(cuts.size(), 10u);
}

TEST(FaultInjector, FloodGarbageHasNoLineBreaks) {
    FaultInjector f({}, 5);
    const std::string g = f.garbageBytes(10000);
    EXPECT_EQ(g.size(), 10000u);
    EXPECT_EQ(g.find_first_of("\r\n"), std::string::npos);
}

TEST(SimLog, StampsUtcWithMillisecondsAndEscapesBytes) {
    using namespace std::chrono;
    const auto t = sys_days{year{2026} / 12 / 8} + hours{10} + milliseconds{123};
    EXPECT_EQ(SimLog::stamp(t), "2026-12-08T10:00:00.123Z");
    std::ostringstream out;
    SimLog log(&out, [t] { return t; });
    log.write("SENT-BAD " + SimLog::escape(std::string(":\x03T\\ \r\n\xff", 8)));
    EXPECT_EQ(out.str(), "2026-12-08T10:00:00.123Z SENT-BAD :\\x03T\\\\ \\r\\n\\xFF\n");
}

} // namespace
} // namespace quorvane::probesim
