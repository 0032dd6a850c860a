#include "fakes/FakeDialogs.h"
#include "instrument/Hex.h"
#include "instrument/RecordDecoder.h"
#include "instrument/TemperatureText.h"
#include "instrument/Thermistor.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace quorvane {
namespace {

TEST(RecordDecoder, ExamplePayloadGivesItsResistancesAndTemperatures) {
    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    ASSERT_FALSE(decoder.processQuorvaneRecord(" 0A1B 6000 2000 5000 3000 2001 6000 2000"));
    const std::array<std::string, 8> fields = {"0A1B", "6000", "2000", "5000",
                                               "3000", "2001", "6000", "2000"};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(decoder.hexFields[i], fields[i]);
    }
    const std::array<std::int32_t, 5> ohms = {80000, 40000, 20005, 100000, 20000};
    const std::array<double, 5> celsius = {3.47199, 18.39299, 34.63989, -1.07625, 34.64601};
    const std::array<const char*, 5> shown = {"3.472", "18.393", "34.640", "-1.076", "34.646"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(decoder.resistanceOhms[i], ohms[i]) << i;
        EXPECT_NEAR(decoder.temperatureC[i], celsius[i], 5e-6) << i;
        EXPECT_EQ(formatTemperature(decoder.temperatureC[i]), shown[i]) << i;
    }
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST(TemperatureText, ThreeDecimalsWithAPointUnderAnyLocale) {
    // QApplication sets the C library's locale from the environment.
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const std::vector<std::pair<double, const char*>> cases = {{4.0, "4.000"},
                                                               {-12.3456, "-12.346"},
                                                               {45.8, "45.800"},
                                                               {0.0004, "0.000"},
                                                               {118.25, "118.250"}};
    for (const auto& [celsius, text] : cases) {
        EXPECT_EQ(formatTemperature(celsius), text) << text;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(RecordDecoder, TemperatureComesFromTheRoundedResistance) {
    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    // 2001 gives 20004.88 ohm: the temperature is that of 20005.
    ASSERT_FALSE(decoder.processQuorvaneRecord(" 0000 6000 2000 2001 2001 2001 2001 2001"));
    EXPECT_EQ(decoder.resistanceOhms[0], 20005);
    EXPECT_DOUBLE_EQ(decoder.temperatureC[0], r2t(20005));
}

struct RejectCase {
    const char* name;
    const char* payload;
    const char* errorLine;
    friend void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }
};

class RecordRejected : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RecordRejected, ShowsTheMessageWithThePayloadAndTheError) {
    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    const RejectCase& c = GetParam();
    EXPECT_TRUE(decoder.processQuorvaneRecord(c.payload));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              std::string("processQuorvaneRecord: Error decoding to Quorvane data.\r\nInput   :") +
                  c.payload + "\r\n" + c.errorLine);
    EXPECT_EQ(dialogs.messages()[0].title, "Quorvane");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordRejected,
    ::testing::Values(RejectCase{"EqualReferences", " 0A1B 4000 4000 5000 3000 2001 6000 2000",
                                 "94  Invalid use of Null"},
                      RejectCase{"NotHex", " 0A1B 6000 2000 5G00 3000 2001 6000 2000",
                                 "94  Invalid use of Null"},
                      RejectCase{"ResistanceZeroOrLess", " 0A1B 6000 2000 0000 3000 2001 6000 2000",
                                 "5  Invalid procedure call or argument"},
                      RejectCase{"FewerThanEightFields", " 0A1B 6000 2000 5000 3000 2001 6000",
                                 "94  Invalid use of Null"},
                      RejectCase{"EmptyPayload", "", "94  Invalid use of Null"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordDecoder, LowerCaseHexDecodesLikeUpperCase) {
    fakes::FakeDialogs dialogs;
    RecordDecoder upper(dialogs);
    RecordDecoder lower(dialogs);
    ASSERT_FALSE(upper.processQuorvaneRecord(" 0A1B 6ABC 2DEF 5ABC 3DEF 4AAA 5BBB 3CCC"));
    ASSERT_FALSE(lower.processQuorvaneRecord(" 0a1b 6abc 2def 5abc 3def 4aaa 5bbb 3ccc"));
    EXPECT_EQ(upper.resistanceOhms, lower.resistanceOhms);
    EXPECT_EQ(upper.temperatureC, lower.temperatureC);
}

TEST(RecordDecoder, ReadingsAbove8000AreUnsignedOnEveryChannel) {
    fakes::FakeDialogs dialogs;
    RecordDecoder decoder(dialogs);
    // References straddle 8000: only an unsigned reading keeps the line straight.
    ASSERT_FALSE(decoder.processQuorvaneRecord(" 0000 C000 4000 8000 7FFF 8001 C000 4000"));
    EXPECT_EQ(decoder.resistanceOhms[0], 60000);
    EXPECT_EQ(decoder.resistanceOhms[1], 59998);
    EXPECT_EQ(decoder.resistanceOhms[2], 60002);
    EXPECT_EQ(decoder.resistanceOhms[3], 100000);
    EXPECT_EQ(decoder.resistanceOhms[4], 20000);
}

struct HexCase {
    const char* text;
    std::int32_t value;
};

TEST(Hex2Decimal, ReadsLiteralsWithOrWithoutPrefix) {
    const HexCase cases[] = {
        {"0A1B", 0x0A1B}, {"ffff", 65535}, {"8000", 32768},  {" 7FFF ", 32767},
        {"&H10", 16},     {"&hFF", 255},   {"FFFFFFFF", -1}, {"7FFFFFFF", INT32_MAX},
        {"0", 0}};
    for (const HexCase& c : cases) {
        EXPECT_EQ(hex2decimal(c.text), c.value) << c.text;
    }
}

TEST(Hex2Decimal, RejectsWhatIsNotAHexLiteral) {
    for (const char* text : {"", "&H", "G1", "12 34", "1&H2", "-1", "123456789", "0x10"}) {
        EXPECT_THROW(hex2decimal(text), Failure) << text;
    }
}

TEST(Thermistor, ReferencesMapToTheirResistances) {
    EXPECT_DOUBLE_EQ(*resistance(100, 500, 100), 20000);
    EXPECT_DOUBLE_EQ(*resistance(100, 500, 500), 100000);
    EXPECT_DOUBLE_EQ(*resistance(100, 500, 900), 180000); // extrapolated on the same line
    EXPECT_FALSE(resistance(300, 300, 5).has_value());
    EXPECT_FALSE(rawhex2resistance("2000", "6000", "XYZ").has_value());
    EXPECT_THROW(r2t(0), Failure);
    EXPECT_THROW(r2t(-5), Failure);
}

} // namespace
} // namespace quorvane
