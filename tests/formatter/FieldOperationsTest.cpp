#include "FormatterTestSupport.h"

#include <functional>
#include <stdexcept>
#include <tuple>

namespace quorvane::testing {
namespace {

using namespace modFormatterConstants;

using FieldOperation = std::function<bool(Formatter&, TextField&, std::int32_t, Label*)>;

struct OperationCase {
    const char* name;
    FieldOperation operation;
    std::string requiredMessage;
    std::string invalidMessage; // "" where no non-empty text is refused
    std::string badText;
};

const std::string kNumberInvalid =
    "Anything in this field must be a number.  The number is allowed to have decimal places.";
const std::string kNumberRequired =
    "This field requires a number.  The number is allowed to have decimal places.";

const OperationCase kOperations[] = {
    {"IntegerOnly",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatIntegerOnlyField(t, l, std::nullopt, std::nullopt, c);
     },
     "This field requires an integer.", "Anything in this field must be an integer.", "1.5"},
    {"Long",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatLongField(t, l, std::nullopt, std::nullopt, c);
     },
     "This field requires an integer.", "Anything in this field must be an integer.", "x"},
    {"Currency",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatCurrencyField(t, l, c);
     },
     "This field requires a dollar amount.", "Anything in this field must be a dollar amount.",
     "five"},
    {"Date",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatDateField(t, l, c);
     },
     "This field requires a date.", "Anything in this field must be a date.", "2/30/2026"},
    {"Time",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatTimeField(t, l, c);
     },
     "This field requires a time.", "Anything in this field must be a time.", "14:05"},
    {"SSN",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) { return f.FormatSSNField(t, l, c); },
     "This field requires a social security number.",
     "Anything in this field must be a social security number.", "12345678"},
    {"Zip",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) { return f.FormatZipField(t, l, c); },
     "This field requires a US zip code.", "Anything in this field must be a US zip code.", "1234"},
    {"FixedNumeric",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatFixedNumericField(t, l, 2, c);
     },
     kNumberRequired, kNumberInvalid, "1..2"},
    {"Scientific",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatScientificField(t, l, 2, c);
     },
     kNumberRequired, kNumberInvalid, "e"},
    // Stays last: RefusedTextTest leaves it out, as it refuses no non-empty text.
    {"Name",
     [](Formatter& f, TextField& t, std::int32_t l, Label* c) {
         return f.FormatNameField(t, l, c);
     },
     "This field requires a person's name.  You can enter the name in any reasonable format.", "",
     ""},
};

using OperationParam = std::tuple<TestLocale, OperationCase>;

std::string operationName(const ::testing::TestParamInfo<OperationParam>& info) {
    return std::string(std::get<0>(info.param) == TestLocale::C ? "C" : "EnUS") + "_" +
           std::get<1>(info.param).name;
}

class FieldOperationTest : public ::testing::TestWithParam<OperationParam> {};

TEST_P(FieldOperationTest, EmptyRequiredFieldShowsItsOwnRequiredMessage) {
    const auto& [locale, c] = GetParam();
    LocaleScope scope(qlocaleOf(locale));
    FieldRig rig;
    EXPECT_FALSE(c.operation(rig.formatter, rig.field, fmtRequired | fmtShowMessage, nullptr));
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_EQ(rig.dialogs.messages()[0].text, c.requiredMessage);
    EXPECT_EQ(rig.dialogs.messages()[0].title, "");
    EXPECT_EQ(rig.dialogs.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(rig.field.text(), "");
    EXPECT_EQ(rig.dialogs.beeps(), 0);
    EXPECT_EQ(rig.field.focusRequests(), 0);
}

TEST_P(FieldOperationTest, EmptyOptionalFieldIsAcceptedAndStaysEmpty) {
    const auto& [locale, c] = GetParam();
    LocaleScope scope(qlocaleOf(locale));
    FieldRig rig;
    EXPECT_TRUE(c.operation(rig.formatter, rig.field, fmtShowMessage | fmtBeep, nullptr));
    EXPECT_EQ(rig.field.text(), "");
    EXPECT_TRUE(rig.dialogs.messages().empty());
    EXPECT_EQ(rig.dialogs.beeps(), 0);
}

// Every operation but the name field refuses some non-empty text.
class RefusedTextTest : public ::testing::TestWithParam<OperationParam> {};

TEST_P(RefusedTextTest, KeepsItsTextAndReportsAsFlagsAsk) {
    const auto& [locale, c] = GetParam();
    LocaleScope scope(qlocaleOf(locale));
    FieldRig rig(c.badText);
    EXPECT_FALSE(
        c.operation(rig.formatter, rig.field, fmtShowMessage | fmtBeep | fmtSetFocus, &rig.label));
    EXPECT_EQ(rig.field.text(), c.badText);
    EXPECT_EQ(rig.changes, 0);
    EXPECT_EQ(rig.label.caption(), c.invalidMessage);
    EXPECT_TRUE(rig.dialogs.messages().empty());
    EXPECT_EQ(rig.dialogs.beeps(), 1);
    EXPECT_EQ(rig.field.focusRequests(), 1);

    // With fmtRequired the required message stands for every refusal.
    FieldRig required(c.badText);
    EXPECT_FALSE(
        c.operation(required.formatter, required.field, fmtShowMessage | fmtRequired, nullptr));
    EXPECT_EQ(required.dialogs.texts(), std::vector<std::string>{c.requiredMessage});
}

INSTANTIATE_TEST_SUITE_P(Operations, FieldOperationTest,
                         ::testing::Combine(::testing::Values(TestLocale::C, TestLocale::EnUS),
                                            ::testing::ValuesIn(kOperations)),
                         operationName);
INSTANTIATE_TEST_SUITE_P(Operations, RefusedTextTest,
                         ::testing::Combine(::testing::Values(TestLocale::C, TestLocale::EnUS),
                                            ::testing::ValuesIn(std::begin(kOperations),
                                                                std::end(kOperations) - 1)),
                         operationName);

// An accepted text is written back once, so the field's change reaction runs once.
TEST(FieldWriteBack, CanonicalTextWrittenOnce) {
    FieldRig rig("123 45 6789");
    EXPECT_TRUE(rig.formatter.FormatSSNField(rig.field, 0));
    EXPECT_EQ(rig.field.text(), "123-45-6789");
    EXPECT_EQ(rig.changes, 1);
    EXPECT_TRUE(rig.formatter.FormatSSNField(rig.field, 0));
    EXPECT_EQ(rig.changes, 1);
}

// ---- platform pieces that fail: nothing escapes, and every step is still tried

class ThrowingDialogs : public Dialogs {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {
        ++shown;
        throw std::runtime_error("no display");
    }
    void beep() override {
        ++beeps;
        throw std::runtime_error("no sound");
    }
    bool isMessageOpen() const override { return false; }
    int shown = 0;
    int beeps = 0;
};

class UnreadableField : public fakes::FakeTextField {
public:
    std::string text() const override { throw std::runtime_error("gone"); }
};

TEST(FieldFailures, FailingBeepAndBoxStillGiveFocus) {
    ThrowingDialogs dialogs;
    Formatter formatter(dialogs);
    fakes::FakeTextField field("abc");
    bool result = true;
    EXPECT_NO_THROW(
        result = formatter.FormatIntegerOnlyField(field, fmtBeep | fmtShowMessage | fmtSetFocus));
    EXPECT_FALSE(result);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_EQ(field.focusRequests(), 1);
    EXPECT_EQ(field.text(), "abc");
}

TEST(FieldFailures, UnreadableFieldIsRefusedAndReported) {
    fakes::FakeDialogs dialogs;
    Formatter formatter(dialogs);
    UnreadableField field;
    bool result = true;
    EXPECT_NO_THROW(result = formatter.FormatDateField(field, fmtShowMessage | fmtSetFocus));
    EXPECT_FALSE(result);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Anything in this field must be a date."});
    EXPECT_EQ(field.focusRequests(), 1);
    EXPECT_NO_THROW(result = formatter.FormatNameField(field, 0));
    EXPECT_FALSE(result);
}

} // namespace
} // namespace quorvane::testing
