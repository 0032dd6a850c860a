#include "SimOptions.h"

#include <gtest/gtest.h>

namespace quorvane::probesim {
namespace {

// The defaults the help text promises, and both spellings of a value.
TEST(SimOptions, DefaultsAndValueForms) {
    std::string error;
    const auto d = SimOptions::parse({}, error);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->serial, "0417");
    EXPECT_EQ(d->firmware, "2.31");
    EXPECT_EQ(d->model.bottomWaterC, 4.0);
    EXPECT_EQ(d->penetrationS, 60.0);
    EXPECT_FALSE(d->fileMode());
    EXPECT_EQ(d->faults.every, 3);
    EXPECT_EQ(d->baud, 0);
    const auto o = SimOptions::parse(
        {"--firmware=3.0", "--ref-20k", "1000", "--bad-hex", "--bad-hex", "--split-delay-ms=50"},
        error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->firmware, "3.0");
    EXPECT_EQ(o->ref20k, 0x1000);
    EXPECT_EQ(o->faults.modes, std::vector<FaultMode>{FaultMode::BadHex});
    EXPECT_EQ(o->faults.splitDelay, std::chrono::milliseconds(50));
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
