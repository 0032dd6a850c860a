#pragma once

#include "FormatterTestSupport.h"

#include <functional>
#include <optional>
#include <ostream>
#include <tuple>

namespace quorvane::testing {

// One row of a text-check table: what the text becomes under each locale (nullopt =
// refused, the field keeping its text).
struct CheckCase {
    const char* name;
    std::string text;
    std::optional<std::string> inC;
    std::optional<std::string> inEnUS;
    std::int32_t flags = 0;
    std::int16_t places = 0;
};

inline const std::optional<std::string> kRefused = std::nullopt;

inline CheckCase row(const char* name, std::string text, std::optional<std::string> expected,
                     std::int32_t flags = 0, std::int16_t places = 0) {
    return {name, std::move(text), expected, expected, flags, places};
}

inline CheckCase rowByLocale(const char* name, std::string text, std::optional<std::string> inC,
                             std::optional<std::string> inEnUS, std::int32_t flags = 0,
                             std::int16_t places = 0) {
    return {name, std::move(text), std::move(inC), std::move(inEnUS), flags, places};
}

inline void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name << " «" << c.text << "»";
}

// A pair of text check and field operation with its two built-in messages.
struct PairUnderTest {
    std::string invalidMessage;
    std::string requiredMessage;
    std::function<bool(Formatter&, std::string&, std::int32_t, std::int16_t)> check;
    std::function<bool(Formatter&, TextField&, std::int32_t, std::int16_t)> fieldOperation;
};

using CheckParam = std::tuple<TestLocale, CheckCase>;

inline std::string checkParamName(const ::testing::TestParamInfo<CheckParam>& info) {
    const auto& [locale, c] = info.param;
    return std::string(locale == TestLocale::C ? "C" : "EnUS") + "_" + c.name;
}

// Runs one row through the field operation and the text check: the result, the field's
// text, the message of a refusal, and that an accepted text reads back as itself.
inline void runCheckCase(const PairUnderTest& pair, TestLocale locale, const CheckCase& c) {
    LocaleScope scope(qlocaleOf(locale));
    const auto& expected = locale == TestLocale::C ? c.inC : c.inEnUS;
    const std::int32_t flags = c.flags | modFormatterConstants::fmtShowMessage;

    FieldRig rig(c.text);
    const bool accepted = pair.fieldOperation(rig.formatter, rig.field, flags, c.places);
    EXPECT_EQ(accepted, expected.has_value());
    EXPECT_EQ(rig.field.text(), expected.value_or(c.text));
    if (accepted) {
        EXPECT_TRUE(rig.dialogs.messages().empty());
    } else {
        const bool required = (c.flags & modFormatterConstants::fmtRequired) != 0;
        EXPECT_EQ(rig.dialogs.texts(),
                  std::vector<std::string>{required ? pair.requiredMessage : pair.invalidMessage});
    }

    std::string text = c.text;
    EXPECT_EQ(pair.check(rig.formatter, text, c.flags, c.places), expected.has_value());
    EXPECT_EQ(text, expected.value_or(c.text));

    if (expected && !expected->empty()) {
        std::string again = *expected;
        EXPECT_TRUE(pair.check(rig.formatter, again, c.flags, c.places))
            << "written form «" << *expected << "» refused";
        EXPECT_EQ(again, *expected);
    }
}

} // namespace quorvane::testing
