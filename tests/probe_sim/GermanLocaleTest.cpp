#include "support/GermanLocale.h"
#include "SimOptions.h"

#include <gtest/gtest.h>

namespace quorvane::probesim {
namespace {

struct ValueCase {
    const char* name;
    std::vector<std::string> args;
    double ambientC;
    double noiseK;
    friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }
};

const ValueCase kValueCases[] = {
    {"Separate", {"--ambient", "20.5", "--noise", "0.25"}, 20.5, 0.25},
    {"Joined", {"--ambient=-1.75", "--noise=1e-3"}, -1.75, 0.001},
};

// The simulator's options read a decimal point whatever the locale.
class SimOptionsGermanLocale
    : public quorvane::testing::UnderGermanLocale<::testing::TestWithParam<ValueCase>> {};

TEST_P(SimOptionsGermanLocale, ReadsDecimalPoints) {
    std::string error;
    const auto options = SimOptions::parse(GetParam().args, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->model.bottomWaterC, GetParam().ambientC);
    EXPECT_EQ(options->noiseK, GetParam().noiseK);
}

INSTANTIATE_TEST_SUITE_P(Cases, SimOptionsGermanLocale, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane::probesim
