#include "ParserFixture.h"

#include "instrument/TemperatureText.h"
#include "support/GermanLocale.h"

#include <limits>

namespace quorvane::testing {
namespace {

// "##0.000": at least one integer digit, exactly three decimals, rounded, a point.
struct TemperatureCase {
    const char* name;
    double celsius;
    const char* shown;
    friend void PrintTo(const TemperatureCase& c, std::ostream* os) { *os << c.name; }
};

const TemperatureCase kTemperatureCases[] = {
    {"Half", 2.5, "2.500"},
    {"NoDecodeValue", -99.99, "-99.990"},
    {"RoundsDown", 3.4719912, "3.472"},
    {"RoundsUp", 34.6398912, "34.640"},
    {"NegativeRounds", -1.0762512, "-1.076"},
    {"BelowOne", 0.0625, "0.062"},
    {"Hundreds", 123.4567, "123.457"},
    {"Thousands", 1234.5678, "1234.568"},
};

class TemperatureTextGermanLocale
    : public UnderGermanLocale<::testing::TestWithParam<TemperatureCase>> {};

TEST_P(TemperatureTextGermanLocale, WritesADecimalPoint) {
    EXPECT_EQ(formatTemperature(GetParam().celsius), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, TemperatureTextGermanLocale, ::testing::ValuesIn(kTemperatureCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The parsing pass writes the labels and the data line of the example record.
class ParserGermanLocale : public UnderGermanLocale<ParserFixture> {};

TEST_F(ParserGermanLocale, TemperatureLineAndLabelsHaveDecimalPoints) {
    ui.Option1[1].setSelected(true);
    flags.heaterOn = true;
    ui.txtHeatLevel.setText("120");
    receive(record());
    const std::string line = "07-Dec-2026 13:51:10  3.472 18.393 34.640 -1.076 34.646 120";
    EXPECT_EQ(dataFile(), line + "\r\n");
    EXPECT_EQ(ui.txtLoggedDataDisplay.text(), line + "\r\n");
    const char* celsius[] = {"3.472", "18.393", "34.640", "-1.076", "34.646"};
    const char* ohms[] = {"80000", "40000", "20005", "100000", "20000"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ui.lblTemperature[i].caption(), celsius[i]);
        EXPECT_EQ(ui.lblResistance[i].caption(), ohms[i]);
    }
    EXPECT_EQ(ui.lblDec[0].caption(), "24576");
}

} // namespace
} // namespace quorvane::testing
