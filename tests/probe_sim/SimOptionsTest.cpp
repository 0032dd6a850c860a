#include "SimOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

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
    EXPECT_EQ(d->penetrationsS, std::vector<double>{60.0});
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

TEST(SimOptions, ModelOptionsTakeOneValueOrFive) {
    std::string error;
    const auto o =
        SimOptions::parse({"--write-file", "x.log", "--friction", "1,2,3,4,5", "--conductivity=1.5",
                           "--penetration", "none", "--bottom-water", "2.5", "--gradient", "-0.01"},
                          error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->model.frictionAKs, (std::array<double, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(o->model.conductivity, (std::array<double, 5>{1.5, 1.5, 1.5, 1.5, 1.5}));
    EXPECT_TRUE(o->fileModel().penetrations.empty());
    EXPECT_EQ(o->model.bottomWaterC, 2.5);
    EXPECT_EQ(o->model.gradientKPerM, -0.01);
    EXPECT_EQ(o->noiseK, 0.0); // none in file mode unless asked
    // The live mode counts penetration from its start, the file mode from the first record
    // in the sediment less half an interval.
    const auto live = SimOptions::parse({"--penetration", "30"}, error);
    ASSERT_TRUE(live.has_value()) << error;
    ASSERT_EQ(live->liveModel().penetrations.size(), 1u);
    EXPECT_EQ(live->liveModel().penetrations[0].inS, 30.0);
    EXPECT_EQ(live->noiseK, 0.003);
    const auto file = SimOptions::parse({"--write-file", "x", "--interval", "4"}, error);
    ASSERT_TRUE(file.has_value()) << error;
    EXPECT_EQ(file->fileModel().penetrations[0].inS, 58.0);
    ASSERT_EQ(file->fileHeaters().size(), 1u);
    EXPECT_EQ(file->fileHeaters()[0].onS, 482.0);
    EXPECT_EQ(*file->fileHeaters()[0].offS, 1082.0);
}

TEST(SimOptions, ProbeProfileThenSingleOverrides) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quorvane-profile-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << R"({"serial": "0555", "sensor_depths_m": [0.1, 0.6, 1.1, 1.6, 2.1],
        "heater_w_per_m_per_level": 0.3, "radius_m": 0.002, "tilt_deg": 10})";
    std::string error;
    const auto o = SimOptions::parse({"--probe", path.string(), "--tilt", "5"}, error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->serial, "0555");
    EXPECT_EQ(o->model.profile.depthsM[4], 2.1);
    EXPECT_EQ(o->model.profile.heaterWPerMPerLevel, 0.3);
    EXPECT_EQ(o->model.profile.radiusM, 0.002);
    EXPECT_EQ(o->model.profile.tiltDeg, 5.0);
    const auto renamed = SimOptions::parse({"--serial", "0600", "--probe", path.string()}, error);
    ASSERT_TRUE(renamed.has_value()) << error;
    EXPECT_EQ(renamed->serial, "0600");

    for (const char* bad :
         {R"({"sensor_depths_m": [0, 1, 2, 3]})", R"({"sensor_depths_m": [0, -1, 2, 3, 4]})",
          R"({"radius_m": "1"})", R"({"tilt_deg": 95})", "[1, 2]", "not json"}) {
        std::ofstream(path) << bad;
        EXPECT_FALSE(SimOptions::parse({"--probe", path.string()}, error).has_value()) << bad;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(SimOptions::parse({"--probe", path.string()}, error).has_value());
}

TEST(SimOptions, HelpNamesEveryOption) {
    const std::string help = SimOptions::helpText();
    for (const char* name : {"--serial",       "--firmware",
                             "--ambient",      "--noise",
                             "--seed",         "--ref-20k",
                             "--ref-100k",     "--link",
                             "--baud",         "--log",
                             "--fault-every",  "--garbage",
                             "--lone-cr",      "--wrong-length",
                             "--bad-hex",      "--equal-refs",
                             "--split",        "--split-delay-ms",
                             "--drop-every",   "--hangup-after",
                             "--restart",      "--restart-delay-ms",
                             "--flood-rate",   "--flood-garbage",
                             "--write-file",   "--layout",
                             "--start",        "--interval",
                             "--duration",     "--penetration",
                             "--bottom-water", "--gradient",
                             "--friction",     "--friction-max",
                             "--heat-delay",   "--heat-time",
                             "--heat-level",   "--conductivity",
                             "--probe",        "--depths",
                             "--heater-cal",   "--radius",
                             "--tilt",         "--truth",
                             "--help"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

} // namespace
} // namespace quorvane::probesim
