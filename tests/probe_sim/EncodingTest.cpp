#include "ProgramDecoding.h"
#include "ReadingEncoder.h"
#include "RecordBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quorvane::probesim {
namespace {

using test::programDecodeLine;
using test::programTemperature;

// The worked example of the program's conversion, decoded by the simulator's own copy.
TEST(ReadingEncoder, DecodesLikeTheProgram) {
    const ReadingEncoder enc(0x2000, 0x6000);
    const struct {
        std::uint16_t reading;
        double celsius;
    } cases[] = {{0x5000, 3.47199},
                 {0x3000, 18.39299},
                 {0x2001, 34.63989},
                 {0x6000, -1.07625},
                 {0x2000, 34.64601}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reading);
        ASSERT_TRUE(enc.decode(c.reading).has_value());
        EXPECT_NEAR(*enc.decode(c.reading), c.celsius, 1e-5);
        EXPECT_NEAR(*programTemperature(0x2000, 0x6000, c.reading), c.celsius, 1e-5);
    }
    EXPECT_FALSE(ReadingEncoder(0x2000, 0x2000).decode(0x3000).has_value());
}

TEST(ReadingEncoder, InvertsSteinhartHart) {
    for (double t = -30.0; t <= 80.0; t += 0.37) {
        const double r = ReadingEncoder::resistanceForTemperature(t);
        EXPECT_NEAR(ReadingEncoder::temperatureForResistance(r), t, 1e-9) << t;
    }
}

TEST(ReadingEncoder, EveryTemperatureOfTheRangeDecodesWithinAHundredthOfADegree) {
    const ReadingEncoder enc;
    EXPECT_LT(enc.minTemperature(), -20.0);
    EXPECT_GT(enc.maxTemperature(), 45.0);
    double worst = 0.0;
    for (int milli = -20000; milli <= 45000; ++milli) {
        const double t = milli / 1000.0;
        const std::uint16_t x = enc.encode(t);
        ASSERT_LE(x, ReadingEncoder::kMaxReading);
        const auto decoded = programTemperature(enc.ref20k(), enc.ref100k(), x);
        ASSERT_TRUE(decoded.has_value()) << t;
        worst = std::max(worst, std::fabs(*decoded - t));
    }
    EXPECT_LT(worst, 0.01);
}

TEST(ReadingEncoder, SaturatesBeyondTheRange) {
    const ReadingEncoder enc;
    EXPECT_EQ(enc.encode(60.0), 0x0000); // hot: low resistance, low reading
    EXPECT_EQ(enc.encode(-30.0), ReadingEncoder::kMaxReading);
}

TEST(RecordBuilder, LineIs43CharactersOfUpperCaseHexThenCrLf) {
    const Readings r{0x0ABC, 0x2A80, 0x0380, 0x7FFF, 0x0000, 0x00ef, 0x1234, 0xBEEF & 0x7FFF};
    const std::string line = RecordBuilder::line(r);
    EXPECT_EQ(line, std::string(":\x03T 0ABC 2A80 0380 7FFF 0000 00EF 1234 3EEF\r\n"));
    EXPECT_EQ(line.size(), RecordBuilder::kLineLength + 2);
    EXPECT_EQ(RecordBuilder::payload(r).size(), RecordBuilder::kPayloadLength);
}

TEST(RecordBuilder, ModelTemperaturesSurviveTheRecord) {
    const RecordBuilder builder;
    const std::array<double, 5> temps{-19.5, 0.0, 4.0, 21.7, 44.9};
    const std::string line = RecordBuilder::line(builder.readings(7, temps));
    const auto decoded = programDecodeLine(std::string_view(line).substr(0, 43));
    ASSERT_TRUE(decoded.has_value());
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR((*decoded)[i], temps[i], 0.01) << i;
    }
    EXPECT_EQ(line.substr(3, 5), " 0007");
}

} // namespace
} // namespace quorvane::probesim
