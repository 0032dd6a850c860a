// Files as real probes write them: 10 s records, a few in the water first, a heat pulse of one
// or two records, offsets, several penetrations in one lowering, and the truth beside them.

#include "DataFileWriter.h"
#include "TruthWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::probesim {
namespace {

constexpr std::size_t kHeaderLines = 11;

SimOptions options(std::vector<std::string> args) {
    args.insert(args.begin(), {"--write-file", "/tmp/sim/real.log", "--radius", "0.00476"});
    std::string error;
    auto o = SimOptions::parse(args, error);
    EXPECT_TRUE(o.has_value()) << error;
    return o.value_or(SimOptions{});
}

struct Record {
    std::string time;
    std::array<double, 5> c{};
    std::string heater;
};

std::vector<Record> records(const SimOptions& o) {
    const auto lines = DataFileWriter(o, 1).lines();
    std::vector<Record> out;
    for (std::size_t n = kHeaderLines; n < lines.size(); ++n) {
        std::istringstream in(lines[n]);
        Record r;
        std::string date;
        in >> date >> r.time;
        for (double& c : r.c) {
            in >> c;
        }
        in >> r.heater;
        out.push_back(r);
    }
    return out;
}

// Five records in the water (0 to 40 s), the first in the sediment at 50 s, and a 20 s pulse
// after the record at 470 s: the heater column is on at 480 and 490 s only.
TEST(RealProbeFile, TenSecondRecordsFewInTheWaterAndATwoRecordPulse) {
    const auto recs = records(
        options({"--interval", "10", "--duration", "1200", "--penetration", "50", "--heat-delay",
                 "470", "--heat-time", "20", "--conductivity", "0.8", "--friction", "20"}));
    ASSERT_EQ(recs.size(), 121u);
    for (std::size_t n = 0; n < 5; ++n) {
        EXPECT_EQ(recs[n].c[0], 4.0) << n;
    }
    // Friction 20 K s on a 4.76 mm cylinder: 0.806 K at the heating, 0.50 K five seconds on.
    EXPECT_NEAR(recs[5].c[0] - 4.0, 0.497, 0.002);
    std::set<std::string> heated;
    for (const Record& r : recs) {
        if (r.heater != "0") {
            EXPECT_EQ(r.heater, "120");
            heated.insert(r.time);
        }
    }
    EXPECT_EQ(heated, (std::set<std::string>{"13:08:00", "13:08:10"}));
}

// Two penetrations with a pull-out between: the water in between, a pulse in each, the second
// jump from the water, and each thermistor's offset throughout.
TEST(RealProbeFile, SeveralPenetrationsInOneFile) {
    const SimOptions o = options({"--interval", "10", "--duration", "2400", "--penetration",
                                  "50,1300", "--pull-out", "1000", "--heat-delay", "470,1720",
                                  "--heat-time", "20", "--offsets", "0.01,-0.02,0,0.003,0"});
    const auto recs = records(o);
    ASSERT_EQ(recs.size(), 241u);
    const std::array<double, 5> water = {4.01, 3.98, 4.0, 4.003, 4.0};
    std::set<int> heated;
    for (std::size_t n = 0; n < recs.size(); ++n) {
        const int t = int(n) * 10;
        if (recs[n].heater == "120") {
            heated.insert(t);
        }
        const bool inWater = t < 50 || (t >= 1050 && t < 1300);
        for (std::size_t i = 0; i < 5; ++i) {
            if (inWater) {
                EXPECT_NEAR(recs[n].c[i], water[i], 1e-9) << t << " " << i;
            } else if (t >= 50 && t < 1000) {
                EXPECT_GT(recs[n].c[i], water[i] + 0.01) << t << " " << i;
            }
        }
    }
    EXPECT_EQ(heated, (std::set<int>{480, 490, 1730, 1740}));
    // The second penetration is the first over again, 1250 s later.
    for (std::size_t n = 5; n < 95; ++n) {
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(recs[n + 125].c[i], recs[n].c[i], 0.0011) << n << " " << i;
        }
    }
    EXPECT_EQ(DataFileWriter(o, 1).lines()[2], "# Delay: 470");
}

TEST(RealProbeFile, TruthNamesEveryPenetrationAndTheNewValues) {
    const SimOptions o =
        options({"--interval",     "10",    "--penetration",     "50,1300",
                 "--pull-out",     "1000",  "--heat-delay",      "470,none",
                 "--heat-time",    "20",    "--friction-energy", "100,200,300,400,500",
                 "--conductivity", "0.8",   "--friction-delay",  "0,5,0,0,0",
                 "--offsets",      "0.002", "--alpha",           "1.5"});
    const QJsonObject t =
        QJsonDocument::fromJson(QByteArray::fromStdString(TruthWriter(o).json())).object();
    EXPECT_EQ(t["t_p"].toString(), "2026-12-08T13:00:45.000Z");
    EXPECT_EQ(t["t_on"].toString(), "2026-12-08T13:07:55.000Z");
    EXPECT_EQ(t["t_off"].toString(), "2026-12-08T13:08:15.000Z");
    EXPECT_DOUBLE_EQ(t["q"].toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(t["alpha"].toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(t["radius_m"].toDouble(), 0.00476);
    const QJsonArray stays = t["penetrations"].toArray();
    ASSERT_EQ(stays.size(), 2);
    const QJsonObject first = stays[0].toObject();
    EXPECT_EQ(first["t_p"].toString(), "2026-12-08T13:00:45.000Z");
    EXPECT_EQ(first["t_on"].toString(), "2026-12-08T13:07:55.000Z");
    EXPECT_EQ(first["t_off"].toString(), "2026-12-08T13:08:15.000Z");
    EXPECT_EQ(first["pull_out"].toString(), "2026-12-08T13:16:35.000Z");
    const QJsonObject second = stays[1].toObject();
    EXPECT_EQ(second["t_p"].toString(), "2026-12-08T13:21:35.000Z");
    EXPECT_TRUE(second["t_on"].isNull());
    EXPECT_TRUE(second["t_off"].isNull());
    EXPECT_TRUE(second["pull_out"].isNull());
    const QJsonArray sensors = t["sensors"].toArray();
    ASSERT_EQ(sensors.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const QJsonObject s = sensors[i].toObject();
        EXPECT_DOUBLE_EQ(s["offset_c"].toDouble(), 0.002);
        EXPECT_NEAR(s["friction_energy_j_per_m"].toDouble(), 100.0 * (i + 1), 1e-9);
        EXPECT_NEAR(s["friction_a"].toDouble(), 100.0 * (i + 1) / (4.0 * std::numbers::pi * 0.8),
                    1e-12);
        EXPECT_DOUBLE_EQ(s["friction_delay_s"].toDouble(), i == 1 ? 5.0 : 0.0);
        EXPECT_TRUE(s["t_eq_c"].isDouble());
    }
    const QJsonObject none =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(TruthWriter(options({"--penetration", "none"})).json()))
            .object();
    EXPECT_TRUE(none["penetrations"].toArray().isEmpty());
    EXPECT_DOUBLE_EQ(none["sensors"].toArray()[0].toObject()["friction_energy_j_per_m"].toDouble(),
                     0.0);
}

int runSimulator(const std::string& args) {
    const int status = std::system(
        (std::string(QUORVANE_PROBE_SIM_PATH) + " " + args + " 2>/dev/null >/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The issue's own command line, with a profile of a 4.76 mm probe.
TEST(RealProbeFile, TheProgramWritesTheIssuesExample) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("quorvane-sim-real-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "P.json") << R"({"serial": "0417", "heater_w_per_m_per_level": 0.25,
        "radius_m": 0.00476})";
    const std::string log = (dir / "a.log").string();
    const std::string truth = (dir / "a.json").string();
    ASSERT_EQ(runSimulator("--write-file " + log + " --truth " + truth + " --probe " +
                           (dir / "P.json").string() +
                           " --interval 1 --duration 1200 --penetration 200 --heat-delay 630 "
                           "--heat-time 20 --heat-level 120 --conductivity 0.8 --gradient 0.2 "
                           "--friction 20 --noise 0.0005 --seed 3"),
              0);
    std::ifstream in(truth);
    const std::string json((std::istreambuf_iterator<char>(in)), {});
    const QJsonObject t = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(t["records"].toInt(), 1201);
    EXPECT_DOUBLE_EQ(t["alpha"].toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(t["radius_m"].toDouble(), 0.00476);
    EXPECT_EQ(t["t_p"].toString(), "2026-12-08T13:03:19.500Z");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quorvane::probesim
