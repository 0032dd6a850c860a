// The file mode: the bytes of the data log file and the true values beside it.

#include "DataFileWriter.h"
#include "ProgramDecoding.h"
#include "TruthWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace quorvane::probesim {
namespace {

constexpr std::size_t kHeaderLines = 11;

SimOptions fileOptions(std::vector<std::string> args) {
    args.insert(args.begin(), {"--write-file", "/tmp/sim/run.log"});
    std::string error;
    auto o = SimOptions::parse(args, error);
    EXPECT_TRUE(o.has_value()) << error;
    return o.value_or(SimOptions{});
}

std::vector<std::string> records(const std::vector<std::string>& lines) {
    return {lines.begin() + kHeaderLines, lines.end()};
}

TEST(FileMode, HeaderStampsAndHeaterColumn) {
    const SimOptions o =
        fileOptions({"--serial", "0999", "--firmware", "3.1", "--interval", "2", "--duration", "11",
                     "--heat-delay", "4", "--heat-time", "4", "--heat-level", "77"});
    const auto lines = DataFileWriter(o, 1).lines();
    const std::vector<std::string> header = {
        "# Instrument: 0999",
        "# Firmware: Ver 3.1",
        "# Delay: 4",
        "# HeatDuration: 4",
        "# PowerLevel: 77",
        "# HeaterEnabled: Yes",
        "# DataType: Temperature",
        "# PowerLevel: 77",
        "# LogInterval: 2",
        "# Logfile: /tmp/sim/run.log",
        "# Date        Time     TTop    T2     T3     T4    TBot Htr"};
    ASSERT_EQ(lines.size(), kHeaderLines + 6); // 0, 2, ..., 10 s
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + kHeaderLines), header);
    // On at 5 s, off at 9 s: the records at 6 and 8 s are heated.
    const char* const expected[] = {"13:00:00", "0",  "13:00:02", "0",  "13:00:04", "0",
                                    "13:00:06", "77", "13:00:08", "77", "13:00:10", "0"};
    const auto recs = records(lines);
    for (std::size_t n = 0; n < recs.size(); ++n) {
        EXPECT_EQ(recs[n].substr(0, 21), std::string("08-Dec-2026 ") + expected[2 * n] + " ");
        EXPECT_EQ(recs[n].substr(recs[n].rfind(' ') + 1), expected[2 * n + 1]) << n;
    }
}

struct TemperatureRow {
    std::size_t record;
    const char* line;
};

// A line source (alpha 0): penetration at 59.5 s, friction 10 K s capped at 5 K, gradient
// 0.064 K/m over 0..2 m, the heater (30 W/m, k 1) on at 480.5 s: hand-computed rows, written in
// the C locale's numbers even under a German one.
TEST(FileMode, TemperatureLayoutRowsWhateverTheLocale) {
    const char* const previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const auto lines =
        DataFileWriter(fileOptions({"--duration", "600", "--alpha", "0"}), 1).lines();
    std::setlocale(LC_ALL, saved.c_str());
    const std::vector<TemperatureRow> rows = {
        {0, "08-Dec-2026 13:00:00  4.000 4.000 4.000 4.000 4.000 0"},
        {59, "08-Dec-2026 13:00:59  4.000 4.000 4.000 4.000 4.000 0"},
        {60, "08-Dec-2026 13:01:00  9.000 9.032 9.064 9.096 9.128 0"},
        {70, "08-Dec-2026 13:01:10  4.952 4.984 5.016 5.048 5.080 0"},
        {480, "08-Dec-2026 13:08:00  4.024 4.056 4.088 4.120 4.152 0"},
        // 99.5 s of heating: 30/(4 pi) E1(0.007878) = 10.204 K, friction 10/520.5.
        {580, "08-Dec-2026 13:09:40  14.223 14.255 14.287 14.319 14.351 120"},
    };
    const auto recs = records(lines);
    ASSERT_EQ(recs.size(), 601u);
    for (const auto& row : rows) {
        EXPECT_EQ(recs[row.record], row.line);
    }
}

TEST(FileMode, StampsCrossTheYear) {
    const auto recs = records(
        DataFileWriter(fileOptions({"--start", "2026-12-31T23:59:59Z", "--duration", "2"}), 1)
            .lines());
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].substr(0, 20), "31-Dec-2026 23:59:59");
    EXPECT_EQ(recs[2].substr(0, 20), "01-Jan-2027 00:00:01");
}

// The program's decoder reads each RawHex record back to the model's temperature.
TEST(FileMode, RawHexReadsBackThroughTheProgramsDecoder) {
    const SimOptions o = fileOptions({"--layout", "rawhex", "--duration", "900", "--interval", "3",
                                      "--heat-delay", "300", "--heat-time", "300"});
    const auto lines = DataFileWriter(o, 1).lines();
    EXPECT_EQ(lines[6], "# DataType: RawHex");
    EXPECT_EQ(lines[10], "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr");
    const ForwardModel model(o.fileModel());
    const std::vector<HeaterSpan> spans = o.fileHeaters();
    const auto recs = records(lines);
    ASSERT_EQ(recs.size(), 301u);
    for (std::size_t n = 0; n < recs.size(); ++n) {
        const std::string& line = recs[n];
        ASSERT_EQ(line.substr(20, 2), "  ") << n;
        char xtra[16];
        std::snprintf(xtra, sizeof xtra, "%04X", unsigned(n + 1));
        EXPECT_EQ(line.substr(22, 4), xtra);
        const auto decoded = test::programDecodeLine(":\x03T" + line.substr(21, 40));
        ASSERT_TRUE(decoded.has_value()) << line;
        const auto truth = model.temperatures(3.0 * double(n), spans);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR((*decoded)[std::size_t(i)], truth[std::size_t(i)], 0.01) << n;
        }
        EXPECT_EQ(line.substr(61), n > 100 && n <= 200 ? " 120" : " 0") << n;
    }
}

TEST(FileMode, SeededNoiseIsReproducibleAndOfTheGivenSpread) {
    const SimOptions o = fileOptions(
        {"--penetration", "none", "--heat-level", "0", "--duration", "3999", "--noise", "0.01"});
    const auto a = DataFileWriter(o, 7).lines();
    EXPECT_EQ(a, DataFileWriter(o, 7).lines());
    EXPECT_NE(a, DataFileWriter(o, 8).lines());
    double squares = 0.0;
    const auto recs = records(a);
    for (const std::string& line : recs) {
        const double d = std::stod(line.substr(22, 6)) - 4.0;
        squares += d * d;
    }
    EXPECT_NEAR(std::sqrt(squares / double(recs.size())), 0.01, 0.0006);
    EXPECT_EQ(a[5], "# HeaterEnabled: No");
}

TEST(FileMode, TruthHoldsTheModelsValues) {
    const SimOptions o = fileOptions({"--interval", "2", "--penetration", "60", "--heat-delay",
                                      "100", "--heat-time", "20", "--conductivity", "1,2,1,2,1",
                                      "--tilt", "60", "--friction", "1,2,3,4,5"});
    const QJsonObject t =
        QJsonDocument::fromJson(QByteArray::fromStdString(TruthWriter(o).json())).object();
    EXPECT_EQ(t["t_p"].toString(), "2026-12-08T13:00:59.000Z");
    EXPECT_EQ(t["t_on"].toString(), "2026-12-08T13:01:41.000Z");
    EXPECT_EQ(t["t_off"].toString(), "2026-12-08T13:02:01.000Z");
    EXPECT_DOUBLE_EQ(t["q"].toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(t["gradient_k_per_m"].toDouble(), 0.064);
    EXPECT_NEAR(t["heat_flow_mw_per_m2"].toDouble(), 80.0, 1e-9);
    const QJsonArray sensors = t["sensors"].toArray();
    ASSERT_EQ(sensors.size(), 5);
    const QJsonObject bottom = sensors[4].toObject();
    EXPECT_EQ(bottom["name"].toString(), "TBot");
    EXPECT_DOUBLE_EQ(bottom["depth_m"].toDouble(), 2.0);
    EXPECT_NEAR(bottom["vertical_depth_m"].toDouble(), 1.0, 1e-12);
    EXPECT_NEAR(bottom["t_eq_c"].toDouble(), 4.064, 1e-12);
    EXPECT_DOUBLE_EQ(bottom["friction_a"].toDouble(), 5.0);
    EXPECT_NEAR(sensors[1].toObject()["kappa"].toDouble(), 7.95544948e-7, 1e-15);
    EXPECT_DOUBLE_EQ(sensors[1].toObject()["k"].toDouble(), 2.0);

    const QJsonObject none =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(
                TruthWriter(fileOptions({"--penetration", "none", "--heat-level", "0"})).json()))
            .object();
    EXPECT_TRUE(none["t_p"].isNull());
    EXPECT_TRUE(none["t_on"].isNull());
    EXPECT_TRUE(none["t_off"].isNull());
    EXPECT_DOUBLE_EQ(none["q"].toDouble(), 0.0);
}

int runSimulator(const std::string& args) {
    const int status = std::system(
        (std::string(QUORVANE_PROBE_SIM_PATH) + " " + args + " 2>/dev/null >/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program itself: exact bytes on disk, and exit 2 for what it cannot do.
TEST(FileMode, TheProgramWritesCrLfLinesAndRefusesBadOptions) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quorvane-sim-file-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto log = dir / "run.log";
    const auto truth = dir / "truth.json";
    ASSERT_EQ(
        runSimulator("--write-file " + log.string() + " --duration 120 --truth " + truth.string()),
        0);
    std::ifstream in(log, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lines;
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
        }
    }
    EXPECT_EQ(lines, kHeaderLines + 121);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_TRUE(std::filesystem::exists(truth));
    for (const char* bad :
         {"--layout csv", "--interval 0", "--heat-level 201", "--conductivity 1,2",
          "--conductivity 0", "--tilt 90", "--depths 0,1,2", "--start 2026-12-08T13:00:00",
          "--penetration soon", "--link /tmp/x", "--radius 0", "--alpha 11",
          "--penetration 50,1300 --pull-out 1400", "--friction-delay -1"}) {
        EXPECT_EQ(runSimulator("--write-file " + log.string() + " " + bad), 2) << bad;
    }
    EXPECT_EQ(runSimulator("--heat-time 30"), 2);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quorvane::probesim
