#include "SimOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>
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
    EXPECT_EQ(d->model.profile.alpha, 2.0); // a cylinder unless told otherwise
    EXPECT_EQ(d->model.profile.radiusM, 0.001);
    EXPECT_EQ(d->model.waterTimeConstantS, 5.0);
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

TEST(SimOptions, RealProbeOptions) {
    std::string error;
    const auto o = SimOptions::parse({"--write-file",
                                      "x.log",
                                      "--penetration",
                                      "50,1300",
                                      "--pull-out",
                                      "1000",
                                      "--heat-delay",
                                      "470,none",
                                      "--heat-time",
                                      "20",
                                      "--conductivity",
                                      "0.5",
                                      "--friction-energy",
                                      "100",
                                      "--friction-delay",
                                      "0,5,10,0,0",
                                      "--offsets",
                                      "0.01",
                                      "--alpha",
                                      "1.5",
                                      "--water-time-constant",
                                      "3",
                                      "--interval",
                                      "10"},
                                     error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->penetrationsS, (std::vector<double>{50.0, 1300.0}));
    EXPECT_EQ(o->pullOutsS, std::vector<double>{1000.0});
    EXPECT_EQ(o->heatDelaysS, (std::vector<std::optional<int>>{470, std::nullopt}));
    EXPECT_NEAR(o->model.frictionAKs[0], 100.0 / (4.0 * std::numbers::pi * 0.5), 1e-12);
    EXPECT_EQ(o->model.frictionDelayS, (std::array<double, 5>{0, 5, 10, 0, 0}));
    EXPECT_EQ(o->model.offsetK, (std::array<double, 5>{0.01, 0.01, 0.01, 0.01, 0.01}));
    EXPECT_EQ(o->model.profile.alpha, 1.5);
    EXPECT_EQ(o->model.waterTimeConstantS, 3.0);
    const auto model = o->fileModel();
    ASSERT_EQ(model.penetrations.size(), 2u);
    EXPECT_EQ(model.penetrations[0].inS, 45.0);
    EXPECT_EQ(model.penetrations[0].outS, 995.0);
    EXPECT_EQ(model.penetrations[1].inS, 1295.0);
    EXPECT_FALSE(model.penetrations[1].outS.has_value());
    ASSERT_EQ(o->fileHeaters().size(), 1u);
    EXPECT_EQ(o->fileHeaters()[0].onS, 475.0);
    // The live mode takes the cylinder and the offsets too.
    const auto live = SimOptions::parse({"--alpha", "0", "--offsets", "0,0,0,0,0.1"}, error);
    ASSERT_TRUE(live.has_value()) << error;
    EXPECT_EQ(live->liveModel().profile.alpha, 0.0);
    EXPECT_EQ(live->liveModel().offsetK[4], 0.1);
}

struct Refusal {
    std::vector<std::string> args;
    const char* reason;
};

// Lists that do not fit together are refused with the reason.
TEST(SimOptions, RefusesInconsistentPenetrations) {
    const std::vector<Refusal> cases = {
        {{"--penetration", "50,40"}, "--penetration times must increase"},
        {{"--penetration", "50,1300", "--heat-delay", "470,1400"}, "--pull-out needs one value"},
        {{"--penetration", "50,900,1300", "--pull-out", "600", "--heat-level", "0"},
         "--pull-out needs one value"},
        {{"--penetration", "50", "--pull-out", "50"}, "pull-out 1 at 50 s must come after"},
        {{"--penetration", "50,1300", "--pull-out", "1400", "--heat-delay", "470,1500"},
         "must come before the next penetration at 1300 s"},
        {{"--penetration", "50,1300", "--pull-out", "1000"}, "--heat-delay needs one value"},
        {{"--penetration", "50,1300", "--pull-out", "1000", "--heat-delay", "470"},
         "--heat-delay needs one value"},
        {{"--penetration", "50,1300", "--pull-out", "1000", "--heat-delay", "30,1400"},
         "penetration 1: the heater delay 30 s comes before the penetration at 50 s"},
        {{"--penetration", "50", "--pull-out", "1000", "--heat-delay", "470"},
         "penetration 1: the heater (on after 470 s for 600 s) must be off before the pull-out"},
        {{"--penetration", "none", "--pull-out", "100"}, "--pull-out needs a penetration"},
        {{"--friction", "10", "--friction-energy", "100"}, "not both"},
        {{"--alpha", "20"}, "alpha must be 0"},
        {{"--alpha", "-1"}, "alpha must be 0"},
        {{"--friction-delay", "-5"}, "bad value for --friction-delay"},
        {{"--friction-energy", "1,2"}, "bad value for --friction-energy"},
        {{"--offsets", "0.1,x"}, "bad value for --offsets"},
        {{"--water-time-constant", "0"}, "bad value for --water-time-constant"},
        {{"--heat-delay", "470,soon"}, "bad value for --heat-delay"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--write-file", "x.log"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string error;
        EXPECT_FALSE(SimOptions::parse(args, error).has_value()) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(SimOptions::parse({"--penetration", "10,20"}, error).has_value());
    EXPECT_EQ(error, "several penetrations need --write-file (the live probe goes in once)");
    EXPECT_FALSE(SimOptions::parse({"--pull-out", "10"}, error).has_value());
    EXPECT_EQ(error, "--pull-out needs --write-file");
}

TEST(SimOptions, ProbeProfileThenSingleOverrides) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quorvane-profile-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << R"({"serial": "0555", "sensor_depths_m": [0.1, 0.6, 1.1, 1.6, 2.1],
        "heater_w_per_m_per_level": 0.3, "radius_m": 0.002, "alpha": 2.5, "tilt_deg": 10})";
    std::string error;
    const auto o = SimOptions::parse({"--probe", path.string(), "--tilt", "5"}, error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->serial, "0555");
    EXPECT_EQ(o->model.profile.depthsM[4], 2.1);
    EXPECT_EQ(o->model.profile.heaterWPerMPerLevel, 0.3);
    EXPECT_EQ(o->model.profile.radiusM, 0.002);
    EXPECT_EQ(o->model.profile.tiltDeg, 5.0);
    EXPECT_EQ(o->model.profile.alpha, 2.5);
    const auto line = SimOptions::parse({"--probe", path.string(), "--alpha", "0"}, error);
    ASSERT_TRUE(line.has_value()) << error;
    EXPECT_EQ(line->model.profile.alpha, 0.0);
    const auto renamed = SimOptions::parse({"--serial", "0600", "--probe", path.string()}, error);
    ASSERT_TRUE(renamed.has_value()) << error;
    EXPECT_EQ(renamed->serial, "0600");

    for (const char* bad :
         {R"({"sensor_depths_m": [0, 1, 2, 3]})", R"({"sensor_depths_m": [0, -1, 2, 3, 4]})",
          R"({"radius_m": "1"})", R"({"tilt_deg": 95})", R"({"alpha": 12})", R"({"alpha": "2"})",
          "[1, 2]", "not json"}) {
        std::ofstream(path) << bad;
        EXPECT_FALSE(SimOptions::parse({"--probe", path.string()}, error).has_value()) << bad;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(SimOptions::parse({"--probe", path.string()}, error).has_value());
}

TEST(SimOptions, HelpNamesEveryOption) {
    const std::string help = SimOptions::helpText();
    for (const char* name : {"--serial",
                             "--firmware",
                             "--ambient",
                             "--noise",
                             "--seed",
                             "--ref-20k",
                             "--ref-100k",
                             "--link",
                             "--baud",
                             "--log",
                             "--fault-every",
                             "--garbage",
                             "--lone-cr",
                             "--wrong-length",
                             "--bad-hex",
                             "--equal-refs",
                             "--split",
                             "--split-delay-ms",
                             "--drop-every",
                             "--hangup-after",
                             "--restart",
                             "--restart-delay-ms",
                             "--flood-rate",
                             "--flood-garbage",
                             "--write-file",
                             "--layout",
                             "--start",
                             "--interval",
                             "--duration",
                             "--penetration",
                             "--bottom-water",
                             "--gradient",
                             "--friction",
                             "--friction-max",
                             "--heat-delay",
                             "--heat-time",
                             "--heat-level",
                             "--conductivity",
                             "--probe",
                             "--depths",
                             "--heater-cal",
                             "--radius",
                             "--tilt",
                             "--truth",
                             "--alpha",
                             "--friction-energy",
                             "--friction-delay",
                             "--offsets",
                             "--pull-out",
                             "--water-time-constant",
                             "--help"}) {
        EXPECT_NE(help.find(name), std::string::npos) << name;
    }
}

} // namespace
} // namespace quorvane::probesim
