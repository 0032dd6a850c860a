#include "CommandParser.h"

#include <gtest/gtest.h>

namespace quorvane::probesim {
namespace {

using Kind = Command::Kind;

Command ignored(std::string text) {
    return {Kind::Ignored, std::move(text)};
}
const Command kN{Kind::SerialQuery, "#HFN"};
const Command kH{Kind::BannerQuery, "#HFH"};
const Command kT{Kind::DataRequest, "T"};

struct ParseCase {
    const char* name;
    std::string input;
    std::vector<Command> expected;
};

class CommandParserCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandParserCases, WholeInput) {
    CommandParser p;
    EXPECT_EQ(p.feed(GetParam().input), GetParam().expected);
    EXPECT_EQ(p.pending(), "");
}

// The same stream split in two at every position gives the same commands (the ignored
// bytes may come in two pieces, so those are compared joined).
TEST_P(CommandParserCases, SplitAtEveryPosition) {
    const std::string& in = GetParam().input;
    auto joinIgnored = [](const std::vector<Command>& cs) {
        std::vector<Command> out;
        for (const Command& c : cs) {
            if (c.kind == Kind::Ignored && !out.empty() && out.back().kind == Kind::Ignored) {
                out.back().text += c.text;
            } else {
                out.push_back(c);
            }
        }
        return out;
    };
    for (std::size_t cut = 1; cut < in.size(); ++cut) {
        CommandParser p;
        auto got = p.feed(std::string_view(in).substr(0, cut));
        const auto rest = p.feed(std::string_view(in).substr(cut));
        got.insert(got.end(), rest.begin(), rest.end());
        EXPECT_EQ(joinIgnored(got), joinIgnored(GetParam().expected)) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, CommandParserCases,
    ::testing::Values(
        ParseCase{"ComsCheckAndRequest", "#HFN#HFHT", {kN, kH, kT}},
        ParseCase{
            "HeaterOn300sAtLevel100", "!Q012C 64 ", {{Kind::HeaterOn, "!Q012C 64 ", 300, 100}}},
        ParseCase{"HeaterOnFiveDigitDuration",
                  "!Q15180 C8 T",
                  {{Kind::HeaterOn, "!Q15180 C8 ", 86400, 200}, kT}},
        ParseCase{"HeaterOnZero", "!Q0000 00 ", {{Kind::HeaterOn, "!Q0000 00 ", 0, 0}}},
        ParseCase{"PowerLevels",
                  "!P00 !P5 !PC8 ",
                  {{Kind::PowerLevel, "!P00 ", 0, 0},
                   {Kind::PowerLevel, "!P5 ", 0, 5},
                   {Kind::PowerLevel, "!PC8 ", 0, 200}}},
        ParseCase{"GarbageBetween", "xx#HFNy\r\nT", {ignored("xx"), kN, ignored("y\r\n"), kT}},
        ParseCase{"BrokenWakeUpResyncs", "#HFX T##HFN", {ignored("#HFX "), kT, ignored("#"), kN}},
        ParseCase{"HeaterCutShortResyncsOnT", "!QT", {ignored("!Q"), kT}},
        ParseCase{"DurationOfThreeDigits", "!Q12C 64 T", {ignored("!Q12C 64 "), kT}},
        ParseCase{"LevelAbove200", "!PC9 T", {ignored("!PC9 "), kT}},
        ParseCase{"LowerCaseHex", "!Q012c 64 T", {ignored("!Q012c 64 "), kT}},
        ParseCase{"UnknownBang", "!X#HFH", {ignored("!X"), kH}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandParser, IncompleteCommandWaitsForTheRest) {
    CommandParser p;
    EXPECT_TRUE(p.feed("T#HF").size() == 1);
    EXPECT_EQ(p.pending(), "#HF");
    EXPECT_EQ(p.feed("N"), std::vector<Command>{kN});
    EXPECT_TRUE(p.feed("!Q00").empty());
    EXPECT_TRUE(p.feed("3C C").empty());
    EXPECT_EQ(p.feed("8 "), (std::vector<Command>{{Kind::HeaterOn, "!Q003C C8 ", 60, 200}}));
}

TEST(CommandParser, ByteByByte) {
    const std::string in = "#HFN#HFHT!Q012C 64 !P00 T";
    CommandParser p;
    std::vector<Command> got;
    for (char c : in) {
        const auto cs = p.feed(std::string(1, c));
        got.insert(got.end(), cs.begin(), cs.end());
    }
    EXPECT_EQ(got, (std::vector<Command>{kN,
                                         kH,
                                         kT,
                                         {Kind::HeaterOn, "!Q012C 64 ", 300, 100},
                                         {Kind::PowerLevel, "!P00 ", 0, 0},
                                         kT}));
}

} // namespace
} // namespace quorvane::probesim
