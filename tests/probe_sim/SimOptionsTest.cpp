#include "SimOptions.h"

#include <gtest/gtest.h>

namespace quorvane::probesim {
namespace {

TEST(SimOptions, DefaultsAndEveryOption) {
    std::string error;
    const auto d = SimOptions::parse({}, error);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->serial, "0417");
    EXPECT_EQ(d->ambientC, 4.0);
    EXPECT_EQ(d->faults.every, 3);
    EXPECT_TRUE(d->faults.modes.empty());

    const auto o = SimOptions::parse({"--serial",
                                      "0999",
                                      "--firmware=3.0",
                                      "--ambient",
                                      "-2.5",
                                      "--noise",
                                      "0",
                                      "--seed",
                                      "12",
                                      "--baud",
                                      "9600",
                                      "--link",
                                      "/tmp/x",
                                      "--log",
                                      "/tmp/l",
                                      "--ref-20k",
                                      "1000",
                                      "--ref-100k",
                                      "5000",
                                      "--garbage",
                                      "--lone-cr",
                                      "--wrong-length",
                                      "--bad-hex",
                                      "--equal-refs",
                                      "--garbage",
                                      "--split",
                                      "--split-delay-ms",
                                      "50",
                                      "--fault-every",
                                      "2",
                                      "--drop-every",
                                      "4",
                                      "--hangup-after",
                                      "10",
                                      "--restart",
                                      "--restart-delay-ms",
                                      "20",
                                      "--flood-rate",
                                      "1e5",
                                      "--flood-garbage"},
                                     error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->serial, "0999");
    EXPECT_EQ(o->firmware, "3.0");
    EXPECT_EQ(o->ambientC, -2.5);
    EXPECT_EQ(o->seed, 12u);
    EXPECT_EQ(o->baud, 9600);
    EXPECT_EQ(o->ref20k, 0x1000);
    EXPECT_EQ(o->ref100k, 0x5000);
    EXPECT_EQ(o->faults.modes.size(), 5u);
    EXPECT_TRUE(o->faults.split);
    EXPECT_EQ(o->faults.splitDelay, std::chrono::milliseconds(50));
    EXPECT_EQ(o->faults.every, 2);
    EXPECT_EQ(o->dropEvery, 4);
    EXPECT_EQ(o->hangupAfter, 10);
    EXPECT_TRUE(o->restart);
    EXPECT_EQ(o->restartDelayMs, 20);
    EXPECT_EQ(o->floodRate, 1e5);
    EXPECT_TRUE(o->floodGarbage);
}

TEST(SimOptions, RefusesWhatCannotWork) {
    const std::vector<std::vector<std::string>> bad = {{"--bogus"},
                                                       {"--seed"},
                                                       {"--baud", "fast"},
                                                       {"--fault-every", "0"},
                                                       {"--ref-20k", "12345"},
                                                       {"--ref-20k", "2A80"},
                                                       {"--restart"},
                                                       {"--flood-garbage"},
                                                       {"--noise", "-1"},
                                                       {"--serial", "a\r\n"},
                                                       {"--split=yes"}};
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(SimOptions::parse(args, error).has_value()) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(SimOptions, HelpNamesEveryOption) {
    const std::string help = SimOptions::helpText();
    for (const char* name : {"--serial",      "--firmware",
                             "--ambient",     "--noise",
                             "--seed",        "--ref-20k",
                             "--ref-100k",    "--link",
                             "--baud",        "--log",
                             "--fault-every", "--garbage",
                             "--lone-cr",     "--wrong-length",
                             "--bad-hex",     "--equal-refs",
                             "--split",       "--split-delay-ms",
                             "--drop-every",  "--hangup-after",
                             "--restart",     "--restart-delay-ms",
                             "--flood-rate",  "--flood-garbage",
                             "--help"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

} // namespace
} // namespace quorvane::probesim
