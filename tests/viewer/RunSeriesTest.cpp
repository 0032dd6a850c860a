#include "viewer/RunSeries.h"
#include "ViewerFiles.h"
#include "datafile/DataFileReader.h"
#include "datafile/PlainNumbers.h"

#include <gtest/gtest.h>
#include <random>

namespace quorvane {
namespace {

using namespace viewertest;

// The series keeps temperatures as floats to the third decimal: what the read-out and the
// CSV export write from them is what they wrote from the file's doubles.
TEST(RunSeries, TemperaturesAreKeptToTheThirdDecimalAsTheExportsWriteThem) {
    const double cases[] = {3.472,   3.4725,  3.0625, -1.0765, 34.6459999999, 34.6465,
                            -0.0004, -0.0005, 0.0,    99.9995, -19.9995,      2047.0625};
    for (double v : cases) {
        EXPECT_EQ(formatFixed(RunSeries::kept(v), 3), formatFixed(v, 3)) << v;
    }
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> celsius(-30.0, 130.0);
    for (int i = 0; i < 200000; ++i) {
        const double v = celsius(random);
        ASSERT_EQ(formatFixed(RunSeries::kept(v), 3), formatFixed(v, 3)) << v;
        // Values right at a tie of the third decimal, as RawHex decoding can give.
        const double tie = std::round(v * 1000.0) / 1000.0 + 0.0005;
        ASSERT_EQ(formatFixed(RunSeries::kept(tie), 3), formatFixed(tie, 3)) << tie;
    }
    EXPECT_TRUE(std::isnan(RunSeries::kept(std::nan(""))));
}

TEST(RunSeries, BreaksGapsAndTheRecordsAroundThem) {
    const DataFileContent file =
        DataFileReader::readText(header() + rawLine(0) + rawLine(1) + rawLine(2) + rawLine(40));
    RunSeries series;
    series.append(file.records, file.headers);
    ASSERT_EQ(series.size(), 5); // four records and a break
    EXPECT_EQ(series.gapCount(), 1);
    EXPECT_TRUE(series.isBreak(3));
    EXPECT_DOUBLE_EQ(series.keyAt(3), kStart + 21.0);
    EXPECT_EQ(series.nextRecord(2, 1), 4);
    EXPECT_EQ(series.nextRecord(4, -1), 2);
    EXPECT_EQ(series.nextRecord(4, 1), std::nullopt);
    EXPECT_EQ(series.nearest(kStart + 30.0), 4);
    EXPECT_EQ(series.nearest(kStart + 10.0), 2);
    const auto gap = series.gapAround(kStart + 30.0);
    ASSERT_TRUE(gap);
    EXPECT_DOUBLE_EQ(gap->from, kStart + 2.0);
    EXPECT_DOUBLE_EQ(gap->to, kStart + 40.0);
    EXPECT_DOUBLE_EQ(gap->interval, 1.0);
    EXPECT_FALSE(series.gapAround(kStart + 1.5)) << "between two records one second apart";
    EXPECT_FALSE(series.gapAround(kStart + 40.0));
    std::vector<int> seen;
    series.forEachRecord(kStart + 1.0, kStart + 40.0, [&](int i) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 4}));
}

TEST(RunSeries, StampsThatGoBackAreSortedInWithTheirValues) {
    // Without a header: no log interval, no breaks.
    const DataFileContent file =
        DataFileReader::readText(rawLine(0) + rawLine(5) + rawLine(3) + rawLine(6) + rawLine(1));
    RunSeries series;
    series.append({file.records.begin(), file.records.begin() + 2}, file.headers);
    series.append({file.records.begin() + 2, file.records.end()}, file.headers);
    ASSERT_EQ(series.size(), 5);
    for (int i = 1; i < series.size(); ++i) {
        EXPECT_LE(series.keyAt(i - 1), series.keyAt(i));
    }
    // Each record's temperatures moved with its stamp (TTop's reading is 0x5000 + n).
    for (const LogRecord& r : file.records) {
        const auto at = series.nearest(static_cast<double>(r.utcSeconds));
        ASSERT_TRUE(at);
        EXPECT_EQ(formatFixed(series.temperatureAt(0, *at), 3), formatFixed(r.temperatureC[0], 3));
    }
    series.clear();
    EXPECT_EQ(series.size(), 0);
    EXPECT_FALSE(series.nearest(kStart));
}

} // namespace
} // namespace quorvane
