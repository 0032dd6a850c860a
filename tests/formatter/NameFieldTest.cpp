#include "FormatterTestSupport.h"

#include <optional>
#include <tuple>

namespace quorvane::testing {
namespace {

using namespace modFormatterConstants;

const std::string kNameRequired =
    "This field requires a person's name.  You can enter the name in any reasonable format.";

struct NameCase {
    const char* name;
    std::string text;
    std::int32_t flags;
    std::optional<std::string> expected; // nullopt = refused
};

const NameCase kNameCases[] = {
    {"FirstMiddleLast", "john paul smith", 0, "Smith, John P."},
    {"LastCommaFirst", "SMITH, JOHN", 0, "Smith, John"},
    {"LastOnly", "smith", 0, "Smith"},
    {"CommaWithoutBlank", "Smith,John", 0, "Smith,john"},
    {"NoLastName", ", john paul", 0, "John P. "},
    {"BlanksOnlyRequired", "   ", fmtRequired, ""},
    {"EmptyOptional", "", 0, ""},
    {"EmptyRequired", "", fmtRequired, std::nullopt},
    {"TwoBlanksNoMiddle", "john  smith", 0, "Smith, John"},
    {"Surrounded", "  mary ann lee  ", 0, "Lee, Mary A."},
    {"TwoMiddleNames", "mary ann beth lee", 0, "Lee, Mary A."},
    {"CommaTwoBlanks", "Smith, John  Paul", 0, "Smith, John P."},
    {"InitialWithPoint", "john p. smith", 0, "Smith, John P."},
    {"AlreadyComposed", "Smith, John P.", 0, "Smith, John P."},
    {"CommaNoFirst", "smith ,", 0, "Smith"},
    {"Apostrophe", "o'neil, sean", 0, "O'neil, Sean"},
    {"Accents", "josé garcía", 0, "García, José"},
    {"AccentedInitial", "élise émilie martin", 0, "Martin, Élise É."},
};

class NameFieldTest : public ::testing::TestWithParam<std::tuple<TestLocale, NameCase>> {};

TEST_P(NameFieldTest, Table) {
    const auto& [locale, c] = GetParam();
    LocaleScope scope(qlocaleOf(locale));
    FieldRig rig(c.text);
    const bool accepted =
        rig.formatter.FormatNameField(rig.field, c.flags | fmtShowMessage | fmtSetFocus);
    EXPECT_EQ(accepted, c.expected.has_value());
    EXPECT_EQ(rig.field.text(), c.expected.value_or(c.text));
    if (accepted) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
        EXPECT_EQ(rig.field.focusRequests(), 0);
    } else {
        EXPECT_EQ(rig.dialogs.texts(), std::vector<std::string>{kNameRequired});
        EXPECT_EQ(rig.field.focusRequests(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, NameFieldTest,
                         ::testing::Combine(::testing::Values(TestLocale::C, TestLocale::EnUS),
                                            ::testing::ValuesIn(kNameCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == TestLocale::C ? "C"
                                                                                         : "EnUS") +
                                    "_" + std::get<1>(info.param).name;
                         });

struct ComponentsCase {
    const char* name;
    std::string text;
    std::string first;
    std::string middle;
    std::string last;
};

const ComponentsCase kComponentsCases[] = {
    {"FirstMiddleLast", "john paul smith", "John", "P", "Smith"},
    {"LastCommaFirstMiddle", "smith, john paul", "John", "P", "Smith"},
    {"CommaWithoutBlank", "SMITH,JOHN", "", "", "Smith,john"},
    {"NoLastName", ", john paul", "John", "P", ""},
    {"Empty", "", "", "", ""},
    {"TwoWords", "JOHN SMITH", "John", "", "Smith"},
    {"SecondCommaKept", "smith, john, jr", "John,", "J", "Smith"},
};

class NameComponentsTest : public ::testing::TestWithParam<ComponentsCase> {};

TEST_P(NameComponentsTest, Table) {
    const auto& c = GetParam();
    fakes::FakeDialogs dialogs;
    Formatter formatter(dialogs);
    std::string first = "x";
    std::string middle = "x";
    std::string last = "x";
    formatter.GetNameComponents(c.text, first, middle, last);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(middle, c.middle);
    EXPECT_EQ(last, c.last);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameComponentsTest, ::testing::ValuesIn(kComponentsCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane::testing
