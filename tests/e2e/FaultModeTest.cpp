#include "RunSteps.h"

#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"

#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// A run against a probe that spoils every second record in the given ways, taking turns.
struct FaultCase {
    const char* name;
    std::vector<std::string> simulatorArgs;
    // The fault modes of the simulator log ("FAULT <mode>") each run must have hit.
    std::vector<std::string> modes;
    bool drops = false;
};

// Names the case in test listings (and so in the names CTest gives the runs).
void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

// Records that reach the decoder and are refused there (one box, then events only).
bool refusedByDecoder(const std::string& mode) {
    return mode == "bad-hex" || mode == "equal-refs";
}

class FaultModeRun : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultModeRun, EveryGoodRecordLoggedOnceInOrderAndNoBadOne) {
    const FaultCase& fault = GetParam();
    std::vector<std::string> args = {"--fault-every", "2"};
    args.insert(args.end(), fault.simulatorArgs.begin(), fault.simulatorArgs.end());
    E2eRig rig(args);
    ASSERT_TRUE(startLoggingRun(rig));
    // Six data requests: with faults on records 2, 4 and 6 each mode of a case comes up.
    ASSERT_TRUE(
        E2eRig::runUntil([&] { return countOf(rig.simulator->commands(), "T") >= 6; }, 9000));
    finishLoggingRun(rig);

    const std::vector<std::string> events = rig.simulator->logEvents();
    for (const std::string& mode : fault.modes) {
        EXPECT_GE(countOf(events, "FAULT " + mode), 1u) << mode;
    }
    EXPECT_EQ(countOf(events, "DROPPED T") > 0, fault.drops);

    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(loggedPayloads(dataFile(rig)), sent);
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_LT(recordNumber(sent[i - 1]), recordNumber(sent[i]));
    }

    // One box at a time; the decoder's refusals show one box, the rest go to the events.
    EXPECT_LE(rig.dialogs.maxOpenAtOnce(), 1);
    std::size_t refused = 0;
    for (const std::string& mode : fault.modes) {
        refused += refusedByDecoder(mode) ? countOf(events, "FAULT " + mode) : 0;
    }
    const std::size_t boxes = refused > 0 ? 1 : 0;
    ASSERT_EQ(rig.dialogs.texts().size(), boxes);
    if (boxes > 0) {
        EXPECT_EQ(rig.dialogs.texts().front().rfind("processQuorvaneRecord: ", 0), 0u);
    }
    EXPECT_EQ(occurrences(rig.events(), "(message not shown) processQuorvaneRecord: "),
              refused - boxes);

    // A refused or malformed record leaves the last good one on show.
    RecordDecoder decoder(rig.dialogs);
    decoder.decode(sent.back());
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rig.view().lblTemperature[i]->caption(),
                  formatTemperature(decoder.temperatureC[i]));
    }
}

const FaultCase kFaultCases[] = {
    {"Framing", {"--garbage", "--lone-cr", "--split"}, {"garbage", "lone-cr"}},
    {"Content",
     {"--wrong-length", "--bad-hex", "--equal-refs"},
     {"wrong-length", "bad-hex", "equal-refs"}},
    {"DropsAndSplitRefusals",
     {"--equal-refs", "--garbage", "--split", "--drop-every", "3"},
     {"equal-refs", "garbage"},
     true},
};

INSTANTIATE_TEST_SUITE_P(Probe, FaultModeRun, ::testing::ValuesIn(kFaultCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace quorvane::e2e
