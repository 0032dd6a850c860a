#include "FormatterTestSupport.h"

#include <optional>
#include <tuple>

namespace quorvane::testing {
namespace {

using namespace modFormatterConstants;

const std::string kInvalid = "Anything in this field must be an integer.";
const std::string kRequired = "This field requires an integer.";
const std::string kCallers = "Heat Level must be between 0 and 200.";

constexpr std::int32_t kShow = fmtShowMessage;
constexpr std::int32_t kRange = fmtCheckRange;

struct IntegerCase {
    const char* name;
    std::string text;
    std::int32_t flags;
    std::optional<double> min;
    std::optional<double> max;
    bool acceptedByIntegerOnly;
    bool acceptedByLong;
    // What a refusal shows ("" = nothing), and where.
    std::string message;
    std::optional<std::string> callersMessage = std::nullopt;
    bool withLabel = false;
};

const IntegerCase kIntegerCases[] = {
    // Empty texts.
    {"EmptyOptional", "", 0, std::nullopt, std::nullopt, true, true, ""},
    {"EmptyOptionalWithBounds", "", kRange | kShow, 10.0, 20.0, true, true, ""},
    {"EmptyRequired", "", fmtRequired | kShow, std::nullopt, std::nullopt, false, false, kRequired},
    {"BlanksAreNotEmpty", "   ", kShow, std::nullopt, std::nullopt, false, false, kInvalid},
    // Which message.
    {"NotANumber", "abc", kShow, std::nullopt, std::nullopt, false, false, kInvalid},
    {"NotANumberRequired", "abc", kShow | fmtRequired, std::nullopt, std::nullopt, false, false,
     kRequired},
    {"CallersMessage", "abc", kShow, std::nullopt, std::nullopt, false, false, kCallers, kCallers},
    {"CallersMessageRequired", "abc", kShow | fmtRequired, std::nullopt, std::nullopt, false, false,
     kCallers, kCallers},
    {"NoShowNoMessage", "abc", fmtBeep | fmtSetFocus, std::nullopt, std::nullopt, false, false, "",
     kCallers},
    {"NoFlagsNoMessage", "abc", 0, std::nullopt, std::nullopt, false, false, ""},
    {"MessageToLabel", "abc", kShow | fmtBeep, std::nullopt, std::nullopt, false, false, kInvalid,
     std::nullopt, true},
    {"CallersMessageToLabel", "x", kShow, std::nullopt, std::nullopt, false, false, kCallers,
     kCallers, true},
    // Ranges: inclusive, compared only with fmtCheckRange, each bound optional.
    {"OutOfRange", "500", kRange | kShow, 0.0, 64.0, false, false, kInvalid},
    {"RangeNotChecked", "500", kShow, 0.0, 64.0, true, true, ""},
    {"BoundsOmitted", "12", kRange | kShow, std::nullopt, std::nullopt, true, true, ""},
    {"AtMinimum", "0", kRange, 0.0, 64.0, true, true, ""},
    {"AtMaximum", "86400", kRange, 1.0, 86400.0, true, true, ""},
    {"AboveMaximum", "86401", kRange, 1.0, 86400.0, false, false, ""},
    {"BelowMinimumOnly", "-1", kRange, 0.0, std::nullopt, false, false, ""},
    {"MaximumOnly", "-1000", kRange, std::nullopt, 64.0, true, true, ""},
    {"MinimumOfZeroIsGiven", "-1", kRange, 0.0, std::nullopt, false, false, ""},
    // The numeric-text grammar.
    {"PlusSign", "+7", kShow, std::nullopt, std::nullopt, true, true, ""},
    {"SurroundingBlanks", " 7 ", kShow, std::nullopt, std::nullopt, true, true, ""},
    {"MinusSign", "-7", kShow, std::nullopt, std::nullopt, true, true, ""},
    {"InnerBlank", "1 000", kShow, std::nullopt, std::nullopt, false, false, kInvalid},
    {"ThousandsSeparator", "1,000", kShow, std::nullopt, std::nullopt, false, false, kInvalid},
    {"BlankAfterSign", "- 7", 0, std::nullopt, std::nullopt, false, false, ""},
    {"TrailingSign", "7-", 0, std::nullopt, std::nullopt, false, false, ""},
    {"TwoSigns", "+-7", 0, std::nullopt, std::nullopt, false, false, ""},
    {"LeadingZeros", "007", kRange, 7.0, 7.0, true, true, ""},
    {"Tab", "\t7", 0, std::nullopt, std::nullopt, false, false, ""},
    {"HexPrefix", "0x10", 0, std::nullopt, std::nullopt, false, false, ""},
    // Points and exponents: refused by FormatIntegerOnly, valued by FormatLong.
    {"PointZero", "3.0", kShow, std::nullopt, std::nullopt, false, true, kInvalid},
    {"TrailingPoint", "3.", kRange, 3.0, 3.0, false, true, ""},
    {"LeadingPoint", ".5", kRange, 0.0, 0.0, false, true, ""},
    {"PointOnly", ".", 0, std::nullopt, std::nullopt, false, false, ""},
    {"TwoPoints", "1.2.3", 0, std::nullopt, std::nullopt, false, false, ""},
    {"HalfToEvenDown", "2.5", kRange, 2.0, 2.0, false, true, ""},
    {"HalfToEvenUp", "1.5", kRange, 2.0, 2.0, false, true, ""},
    {"HalfToEvenOdd", "3.5", kRange, std::nullopt, 3.0, false, false, ""},
    {"NegativeHalf", "-2.5", kRange, -2.0, -2.0, false, true, ""},
    {"NearlyHalf", "2.4999", kRange, 2.0, 2.0, false, true, ""},
    {"Exponent", "1e3", kRange, 1000.0, 1000.0, false, true, ""},
    {"ExponentUpperCase", "1E3", kRange, 1001.0, std::nullopt, false, false, ""},
    {"NegativeExponent", "25e-1", kRange, 2.0, 2.0, false, true, ""},
    {"ExponentWithoutDigits", "1e", 0, std::nullopt, std::nullopt, false, false, ""},
    {"ExponentOnly", "e5", 0, std::nullopt, std::nullopt, false, false, ""},
    {"TinyIsZero", "1e-999", kRange, 0.0, 0.0, false, true, ""},
    {"HugeExponent", "1e999", 0, std::nullopt, std::nullopt, false, false, ""},
    {"ZeroWithHugeExponent", "0e999999", 0, std::nullopt, std::nullopt, false, true, ""},
    // The 32-bit range.
    {"TooLarge", "99999999999", kShow, std::nullopt, std::nullopt, false, false, kInvalid},
    {"LargestInt32", "2147483647", 0, std::nullopt, std::nullopt, true, true, ""},
    {"AboveInt32", "2147483648", 0, std::nullopt, std::nullopt, false, false, ""},
    {"SmallestInt32", "-2147483648", 0, std::nullopt, std::nullopt, true, true, ""},
    {"BelowInt32", "-2147483649", 0, std::nullopt, std::nullopt, false, false, ""},
    {"RoundsAboveInt32", "2147483647.5", 0, std::nullopt, std::nullopt, false, false, ""},
    {"TieStaysInInt32", "-2147483648.5", 0, std::nullopt, std::nullopt, false, true, ""},
    {"InfinityWord", "inf", 0, std::nullopt, std::nullopt, false, false, ""},
    // Rounded from the typed digits, not from the nearest double.
    {"JustUnderHalfAtTheTop", "2147483647.49999999999", 0, std::nullopt, std::nullopt, false, true,
     ""},
    {"JustOverHalf", "0.5000000000000000001", kRange, 1.0, 1.0, false, true, ""},
    {"JustUnderHalf", "2.4999999999999999999", kRange, 2.0, 2.0, false, true, ""},
    {"JustOverNegativeHalf", "-2.5000000000000000001", kRange, -3.0, -3.0, false, true, ""},
    {"JustBelowTheBottomTie", "-2147483648.50000000001", 0, std::nullopt, std::nullopt, false,
     false, ""},
    {"ManyDigitsExponent", "0.0000000000000000000000000000025e30", kRange, 2.0, 2.0, false, true,
     ""},
    {"LongDigitsAboveRange", "21474836480000000000000000e-16", 0, std::nullopt, std::nullopt, false,
     false, ""},
};

enum class Pair { IntegerOnly, Long };

using IntegerParam = std::tuple<TestLocale, Pair, IntegerCase>;

class IntegerFieldTest : public ::testing::TestWithParam<IntegerParam> {};

TEST_P(IntegerFieldTest, ChecksReportsAndKeepsText) {
    const auto& [locale, pair, c] = GetParam();
    LocaleScope scope(qlocaleOf(locale));
    FieldRig rig(c.text);
    const bool expected = pair == Pair::IntegerOnly ? c.acceptedByIntegerOnly : c.acceptedByLong;
    Label* label = c.withLabel ? &rig.label : nullptr;

    const bool result = pair == Pair::IntegerOnly
                            ? rig.formatter.FormatIntegerOnlyField(rig.field, c.flags, c.min, c.max,
                                                                   label, c.callersMessage)
                            : rig.formatter.FormatLongField(rig.field, c.flags, c.min, c.max, label,
                                                            c.callersMessage);

    EXPECT_EQ(result, expected);
    // The integer pairs never rewrite the text, accepted or not.
    EXPECT_EQ(rig.field.text(), c.text);
    EXPECT_EQ(rig.changes, 0);

    std::string text = c.text;
    const bool checked = pair == Pair::IntegerOnly
                             ? rig.formatter.FormatIntegerOnly(text, c.flags, c.min, c.max)
                             : rig.formatter.FormatLong(text, c.flags, c.min, c.max);
    EXPECT_EQ(checked, expected);
    EXPECT_EQ(text, c.text);

    const bool refused = !expected;
    const std::string shown = refused ? c.message : "";
    if (c.withLabel) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
        EXPECT_EQ(rig.label.caption(), shown);
    } else if (shown.empty()) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
    } else {
        ASSERT_EQ(rig.dialogs.messages().size(), 1u);
        EXPECT_EQ(rig.dialogs.messages()[0].text, shown);
        EXPECT_EQ(rig.dialogs.messages()[0].title, "");
        EXPECT_EQ(rig.dialogs.messages()[0].icon, MessageIcon::None);
    }
    EXPECT_EQ(rig.dialogs.beeps(), refused && (c.flags & fmtBeep) ? 1 : 0);
    EXPECT_EQ(rig.field.focusRequests(), refused && (c.flags & fmtSetFocus) ? 1 : 0);
}

std::string integerParamName(const ::testing::TestParamInfo<IntegerParam>& info) {
    const TestLocale locale = std::get<0>(info.param);
    const Pair pair = std::get<1>(info.param);
    return std::string(locale == TestLocale::C ? "C" : "EnUS") + "_" +
           (pair == Pair::IntegerOnly ? "IntegerOnly" : "Long") + "_" +
           std::get<2>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerFieldTest,
                         ::testing::Combine(::testing::Values(TestLocale::C, TestLocale::EnUS),
                                            ::testing::Values(Pair::IntegerOnly, Pair::Long),
                                            ::testing::ValuesIn(kIntegerCases)),
                         integerParamName);

// The caption is the last refusal's message: an accepted entry leaves it alone.
TEST(IntegerFieldMessages, AcceptedEntryKeepsLastCaption) {
    FieldRig rig("abc");
    EXPECT_FALSE(rig.formatter.FormatIntegerOnlyField(rig.field, kShow, std::nullopt, std::nullopt,
                                                      &rig.label));
    rig.field.setText("12");
    EXPECT_TRUE(rig.formatter.FormatIntegerOnlyField(rig.field, kShow, std::nullopt, std::nullopt,
                                                     &rig.label));
    EXPECT_EQ(rig.label.caption(), kInvalid);
}

// The run parameter fields pass 16-bit bounds; they compare as numbers.
TEST(IntegerFieldMessages, NarrowBoundsCompareAsNumbers) {
    FieldRig rig("200");
    const std::int16_t minimum = 0;
    const std::int16_t maximum = 200;
    EXPECT_TRUE(rig.formatter.FormatIntegerOnlyField(rig.field, kRange | kShow, minimum, maximum));
    rig.field.setText("201");
    EXPECT_FALSE(rig.formatter.FormatIntegerOnlyField(rig.field, kRange | kShow, minimum, maximum));
    EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{kInvalid});
}

} // namespace
} // namespace quorvane::testing
