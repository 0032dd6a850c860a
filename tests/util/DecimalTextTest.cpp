#include "util/DecimalText.h"
#include "support/GermanLocale.h"
#include "util/NumericText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace quorvane {
namespace {

// ---- exact rounding of typed digits

struct RoundCase {
    const char* name;
    const char* text;
    int scale;
    std::optional<std::int64_t> expected;
    friend void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name; }
};

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

const RoundCase kRoundCases[] = {
    {"Whole", "42", 0, 42},
    {"Blanks", "  +42  ", 0, 42},
    {"TieToEvenDown", "2.5", 0, 2},
    {"TieToEvenUp", "3.5", 0, 4},
    {"NegativeTie", "-2.5", 0, -2},
    // A double reads these as exact halves, or rounds them over the boundary.
    {"JustUnderHalf", "2147483647.49999999999", 0, 2147483647},
    {"JustOverHalf", "0.5000000000000000001", 0, 1},
    {"ManyNines", "0.99999999999999999999999", 0, 1},
    {"LeadingPoint", ".5", 0, 0},
    {"TrailingPoint", "7.", 0, 7},
    {"Exponent", "1e3", 0, 1000},
    {"ExponentMovesPoint", "12345e-2", 0, 123},
    {"ExponentTie", "25e-1", 0, 2},
    {"NegativeExponentToZero", "1e-400", 0, 0},
    {"HugeNegativeExponent", "5e-999999999999999999999", 0, 0},
    {"ZeroWithHugeExponent", "0e999999999999999999999", 0, 0},
    {"HugeExponent", "1e999999999999999999999", 0, std::nullopt},
    {"NegativeZero", "-0.0", 0, 0},
    {"Largest", "9223372036854775807", 0, kMax},
    {"LargestPlusHalfIsEven", "9223372036854775806.5", 0, 9223372036854775806},
    {"LargestRoundsOver", "9223372036854775807.5", 0, std::nullopt},
    {"BeyondLargest", "9223372036854775808", 0, std::nullopt},
    {"Smallest", "-9223372036854775808", 0, kMin},
    {"SmallestTie", "-9223372036854775808.5", 0, kMin},
    {"BeyondSmallest", "-9223372036854775809", 0, std::nullopt},
    {"TwentyDigits", "10000000000000000000", 0, std::nullopt},
    {"LeadingZeros", "000000000000000000000000000012", 0, 12},
    {"FourPlaces", "7888477447385.244", 4, 78884774473852440},
    {"FourPlacesTieToEven", "1.00005", 4, 10000},
    {"FourPlacesTieUp", "1.00015", 4, 10002},
    {"FourPlacesLargest", "922337203685477.5807", 4, kMax},
    {"FourPlacesOver", "922337203685477.58075", 4, std::nullopt},
    {"FourPlacesSmallest", "-922337203685477.5808", 4, kMin},
    {"NotNumeric", "abc", 0, std::nullopt},
    {"Empty", "", 0, std::nullopt},
    {"PointOnly", ".", 0, std::nullopt},
    {"TwoPoints", "1.2.3", 0, std::nullopt},
    {"ExponentWithoutDigits", "1e", 0, std::nullopt},
    {"InnerBlank", "1 000", 0, std::nullopt},
    {"Comma", "2,5", 0, std::nullopt},
};

class RoundedScaled : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundedScaled, ReadsTheTypedDigitsExactly) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(decimalText::roundedScaled(c.text, c.scale), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundedScaled, ::testing::ValuesIn(kRoundCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- writing, the same in every locale

struct WriteCase {
    const char* name;
    double value;
    std::string plain;
    std::string exponent;
    std::string threeDecimals;
    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

const WriteCase kWriteCases[] = {
    {"Half", 2.5, "2.5", "2.5e+00", "2.500"},
    {"NegativeFraction", -99.99, "-99.99", "-9.999e+01", "-99.990"},
    {"Temperature", 3.4719912, "3.4719912", "3.4719912e+00", "3.472"},
    {"TenThousandth", 0.0001, "0.0001", "1e-04", "0.000"},
    {"HundredThousand", 100000, "100000", "1e+05", "100000.000"},
    {"Large", 123456789012345.0, "123456789012345", "1.23456789012345e+14", "123456789012345.000"},
    {"Zero", 0.0, "0", "0e+00", "0.000"},
};

void expectWritten(const WriteCase& c) {
    EXPECT_EQ(decimalText::plainDigits(c.value), c.plain);
    EXPECT_EQ(decimalText::exponentDigits(c.value), c.exponent);
    EXPECT_EQ(decimalText::fixedDigits(c.value, 3), c.threeDecimals);
}

class DecimalWriting : public ::testing::TestWithParam<WriteCase> {};
TEST_P(DecimalWriting, ShortestPlainExponentAndFixed) {
    expectWritten(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Cases, DecimalWriting, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

class DecimalWritingGermanLocale : public testing::UnderGermanLocale<DecimalWriting> {};
TEST_P(DecimalWritingGermanLocale, WritesAPoint) {
    expectWritten(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Cases, DecimalWritingGermanLocale, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- numeric texts of the settings file

struct NumericCase {
    const char* name;
    const char* text;
    std::optional<double> expected;
    friend void PrintTo(const NumericCase& c, std::ostream* os) { *os << c.name; }
};

const NumericCase kNumericCases[] = {
    {"Point", "2.5", 2.5},
    {"Signed", " +9600 ", 9600},
    {"Exponent", "-1.5e3", -1500},
    {"Underflow", "1e-400", 0.0},
    {"Overflow", "1e400", std::nullopt},
    {"Comma", "2,5", std::nullopt},
};

void expectRead(const NumericCase& c) {
    EXPECT_EQ(parseNumericText(c.text), c.expected) << c.text;
}

class NumericTextReading : public ::testing::TestWithParam<NumericCase> {};
TEST_P(NumericTextReading, ReadsThePoint) {
    expectRead(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Cases, NumericTextReading, ::testing::ValuesIn(kNumericCases),
                         [](const auto& info) { return std::string(info.param.name); });

class NumericTextReadingGermanLocale : public testing::UnderGermanLocale<NumericTextReading> {};
TEST_P(NumericTextReadingGermanLocale, ReadsThePoint) {
    expectRead(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Cases, NumericTextReadingGermanLocale, ::testing::ValuesIn(kNumericCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane
