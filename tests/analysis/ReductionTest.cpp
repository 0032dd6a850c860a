#include "analysis/Reduction.h"
#include "SyntheticStation.h"
#include "analysis/StationSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace quorvane::analysis {
namespace {

using test::SyntheticStation;

ProbeProfile profileOf(const SyntheticStation& s) {
    ProbeProfile p;
    p.serial = QStringLiteral("0417");
    p.sensorDepthsM = s.depthsM;
    p.heaterWPerMPerLevel = s.heaterWPerMPerLevel;
    p.radiusM = s.radiusM;
    p.tiltDeg = s.tiltDeg;
    // These stations are ideal line sources.
    p.alpha = 0.0;
    return p;
}

ReductionResults reduce(const SyntheticStation& s, ReductionOptions options = {}) {
    Reduction r(profileOf(s), options);
    r.setRecords(s.make());
    return r.results();
}

double harmonicMean(const std::array<double, 5>& k) {
    double inv = 0.0;
    for (double v : k) {
        inv += 1.0 / v;
    }
    return 5.0 / inv;
}

struct Station {
    const char* name;
    std::function<void(SyntheticStation&)> change;
    double tEqTolC;
    double kRelTol;
};

const Station kStations[] = {
    {"one k", [](SyntheticStation&) {}, 1e-5, 2e-3},
    {"per-thermistor k, steep gradient",
     [](SyntheticStation& s) {
         s.k = {0.7, 0.9, 1.2, 1.6, 2.4};
         s.gradientKPerM = 0.25;
     },
     1e-5, 2e-3},
    {"tilted 20 degrees, 2 s interval",
     [](SyntheticStation& s) {
         s.tiltDeg = 20.0;
         s.intervalS = 2.0;
         s.records = 900;
         s.penetrationRecord = 30;
         s.heatDelayRecords = 210;
         s.heatRecords = 300;
     },
     1e-5, 2e-3},
    {"noise 0.5 mK", [](SyntheticStation& s) { s.noiseK = 0.0005; }, 1e-3, 1e-2},
    {"heat pulse of 20 s", [](SyntheticStation& s) { s.heatRecords = 20; }, 1e-5, 5e-3},
};

TEST(Reduction, RecoversTheStationsItWasComputedFrom) {
    for (const auto& c : kStations) {
        SCOPED_TRACE(c.name);
        SyntheticStation s;
        c.change(s);
        const auto r = reduce(s);
        ASSERT_TRUE(r.penetrationS);
        EXPECT_TRUE(r.penetrationSeen);
        EXPECT_DOUBLE_EQ(*r.penetrationS, s.penetrationS());
        ASSERT_TRUE(r.heater.onS && r.heater.offS);
        EXPECT_DOUBLE_EQ(*r.heater.onS, s.onS());
        EXPECT_DOUBLE_EQ(*r.heater.offS, s.offS());
        EXPECT_EQ(r.heater.level, s.level);
        EXPECT_DOUBLE_EQ(*r.heater.qWPerM, s.q());
        for (std::size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(r.sensors[i].name.toStdString());
            const auto& sensor = r.sensors[i];
            ASSERT_TRUE(sensor.tEqC && sensor.kWPerMK) << sensor.flags.join("; ").toStdString();
            EXPECT_NEAR(*sensor.tEqC, s.tEq(i), c.tEqTolC);
            EXPECT_NEAR(*sensor.kWPerMK, s.k[i], s.k[i] * c.kRelTol);
            EXPECT_EQ(sensor.kMethod, "line-E1");
            EXPECT_EQ(sensor.decayMethod, "line-1/t");
            // A long heating's cooling gives a second estimate; a pulse's cooling is its k.
            EXPECT_EQ(sensor.kCoolingWPerMK.has_value(), s.heatRecords >= 60);
            if (sensor.kCoolingWPerMK) {
                EXPECT_NEAR(*sensor.kCoolingWPerMK, s.k[i], s.k[i] * 2 * c.kRelTol);
            }
            EXPECT_TRUE(sensor.flags.isEmpty()) << sensor.flags.join("; ").toStdString();
        }
        ASSERT_TRUE(r.gradientKPerM && r.heatFlowMWPerM2 && r.heatFlowBullardMWPerM2);
        EXPECT_NEAR(*r.gradientKPerM, s.gradientKPerM, s.gradientKPerM * 0.01);
        EXPECT_EQ(r.gradientSensors, 5);
        const double q = harmonicMean(s.k) * s.gradientKPerM * 1000.0;
        EXPECT_NEAR(*r.heatFlowMWPerM2, q, q * 0.015);
        EXPECT_EQ(r.quality, "excellent");
        EXPECT_TRUE(r.flags.isEmpty()) << r.flags.join("; ").toStdString();
    }
}

TEST(Reduction, OperatorWindowsAndPenetrationAreUsed) {
    SyntheticStation s;
    ReductionOptions o;
    o.penetrationS = s.penetrationS();
    o.decayWindowS = ReductionOptions::Window{100.0, 300.0};
    o.heatingWindowS = ReductionOptions::Window{60.0, 500.0};
    const auto r = reduce(s, o);
    const auto& top = r.sensors[0];
    ASSERT_TRUE(top.decayWindow && top.kWindow);
    EXPECT_DOUBLE_EQ(top.decayWindow->fromS, s.penetrationS() + 100.0);
    EXPECT_EQ(top.decayWindow->records, 200);
    EXPECT_EQ(top.recordsDecay, 200);
    EXPECT_DOUBLE_EQ(top.kWindow->toS, s.onS() + 500.0);
    EXPECT_EQ(top.kWindow->records, 440);
    EXPECT_NEAR(*top.kWPerMK, 1.0, 2e-3);
    EXPECT_TRUE(r.flags.contains("penetration time set by the operator"));
}

TEST(Reduction, LiveUpdatesEndWhereTheWholeFileEnds) {
    SyntheticStation s;
    s.noiseK = 0.0005;
    const StationRecords all = s.make();
    Reduction live(profileOf(s));
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::array<double, 5> t{};
        for (std::size_t j = 0; j < 5; ++j) {
            t[j] = all.temperatureC(j)[i];
        }
        live.append(all.timeS()[i], t, all.heater()[i]);
        if (i % 97 == 0) {
            live.results();
        }
    }
    live.setFileInfo(all.fileName, all.serial, all.logIntervalS, 0);
    const auto a = live.results();
    const auto b = reduce(s);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(*a.sensors[i].tEqC, *b.sensors[i].tEqC);
        EXPECT_NEAR(*a.sensors[i].kWPerMK, *b.sensors[i].kWPerMK, 2e-3);
    }
    EXPECT_NEAR(*a.heatFlowMWPerM2, *b.heatFlowMWPerM2, 0.2);
}

// What bad input must give: the nulls, and the flags saying why.
struct BadCase {
    const char* name;
    std::function<void(SyntheticStation&)> station;
    std::function<StationRecords(const StationRecords&)> edit;
    ReductionOptions options;
    std::vector<const char*> stationFlags;
    std::vector<std::pair<std::size_t, const char*>> sensorFlags;
    bool tEq;
    bool k;
    bool gradient;
    bool heatFlow;
};

StationRecords keep(const StationRecords& r) {
    return r;
}

StationRecords withSensor(const StationRecords& in, std::size_t sensor,
                          const std::function<double(std::size_t, double)>& value) {
    StationRecords out;
    out.logIntervalS = in.logIntervalS;
    for (std::size_t i = 0; i < in.size(); ++i) {
        std::array<double, 5> t{};
        for (std::size_t j = 0; j < 5; ++j) {
            t[j] = j == sensor ? value(i, in.temperatureC(j)[i]) : in.temperatureC(j)[i];
        }
        out.append(in.timeS()[i], t, in.heater()[i]);
    }
    return out;
}

ReductionOptions decayWindow(double a, double b) {
    ReductionOptions o;
    o.decayWindowS = ReductionOptions::Window{a, b};
    return o;
}
ReductionOptions heatingWindow(double a, double b) {
    ReductionOptions o;
    o.heatingWindowS = ReductionOptions::Window{a, b};
    return o;
}
ReductionOptions penetrationAt(double t) {
    ReductionOptions o;
    o.penetrationS = t;
    return o;
}

const auto kNoChange = [](SyntheticStation&) {};
const double kNaN = std::nan("");

const BadCase kBadCases[] = {
    {"no heater interval",
     [](SyntheticStation& s) { s.heatRecords = 0; },
     keep,
     {},
     {"no heater interval", "heat flow: no conductivity"},
     {{0, "no heater interval"}},
     true,
     false,
     true,
     false},
    {"no decay: logging began with the probe in place",
     [](SyntheticStation& s) {
         s.penetrationRecord = -2000;
         s.heatDelayRecords = 2400;
         s.noiseK = 0.0005;
     },
     keep,
     {},
     {"penetration not seen"},
     {},
     true,
     true,
     true,
     true},
    {"three thermistors missing",
     kNoChange,
     [](const StationRecords& r) {
         auto out = withSensor(r, 1, [](std::size_t, double) { return kNaN; });
         out = withSensor(out, 2, [](std::size_t, double) { return -99.99; });
         return withSensor(out, 4, [](std::size_t, double) { return kNaN; });
     },
     {},
     {"gradient: fewer than 3 thermistors with an equilibrium temperature",
      "heat flow: no gradient"},
     {{1, "thermistor missing"}, {2, "thermistor missing"}},
     true,
     true,
     false,
     false},
    {"a stuck thermistor",
     kNoChange,
     [](const StationRecords& r) {
         return withSensor(r, 2, [](std::size_t, double) { return 4.512; });
     },
     {},
     {"gradient from 4 thermistors", "heat flow: mean k from 4 thermistors"},
     {{2, "thermistor stuck"}},
     true,
     true,
     true,
     true},
    {"a thermistor stuck during the decay",
     kNoChange,
     [](const StationRecords& r) {
         return withSensor(r, 3, [](std::size_t i, double v) { return i > 100 ? 4.2 : v; });
     },
     {},
     {"gradient from 4 thermistors"},
     {{3, "thermistor stuck in the decay window"}},
     true,
     true,
     true,
     true},
    {"a gap in the records",
     kNoChange,
     [](const StationRecords& r) {
         StationRecords out;
         for (std::size_t i = 0; i < r.size(); ++i) {
             if (i < 300 || i > 360) {
                 out.append(r.timeS()[i],
                            {r.temperatureC(0)[i], r.temperatureC(1)[i], r.temperatureC(2)[i],
                             r.temperatureC(3)[i], r.temperatureC(4)[i]},
                            r.heater()[i]);
             }
         }
         return out;
     },
     {},
     {"gap in the records"},
     {},
     true,
     true,
     true,
     true},
    {"decay window outside the records",
     kNoChange,
     keep,
     decayWindow(5000, 6000),
     {"decay window outside the records"},
     {{0, "k: no decay to take off the heater's rise"}},
     false,
     false,
     false,
     false},
    {"decay window reversed",
     kNoChange,
     keep,
     decayWindow(300, 100),
     {"decay window: its start is not before its end"},
     {{0, "no decay window"}},
     false,
     false,
     false,
     false},
    {"heating window outside the records",
     kNoChange,
     keep,
     heatingWindow(-100, -50),
     {"heating window outside the records"},
     {},
     true,
     false,
     true,
     false},
    {"heating window past the switch-off",
     kNoChange,
     keep,
     heatingWindow(300, 900),
     {"heating window cut to the records it can use"},
     {},
     true,
     true,
     true,
     true},
    {"penetration given outside the records",
     kNoChange,
     keep,
     penetrationAt(1.0),
     {"penetration time given lies outside the records: not used"},
     {},
     true,
     true,
     true,
     true},
    {"heater on from the first record",
     kNoChange,
     [](const StationRecords& r) {
         StationRecords out;
         for (std::size_t i = 0; i < r.size(); ++i) {
             out.append(r.timeS()[i],
                        {r.temperatureC(0)[i], r.temperatureC(1)[i], r.temperatureC(2)[i],
                         r.temperatureC(3)[i], r.temperatureC(4)[i]},
                        i < 20 ? 120 : 0);
         }
         return out;
     },
     {},
     {"heater on from the first record: no switch-on in the records",
      "no decay: the heater was on from the first record"},
     {{0, "no decay window"}},
     false,
     false,
     false,
     false},
    {"heater still on at the end",
     [](SyntheticStation& s) { s.records = 900; },
     keep,
     {},
     {"heater still on at the end of the records"},
     {},
     true,
     true,
     true,
     true},
    {"records end before the heater",
     [](SyntheticStation& s) { s.records = 64; },
     keep,
     {},
     {"no heater interval"},
     {{0, "decay fit: fewer than 5 records"}},
     true,
     false,
     true,
     false},
};

TEST(Reduction, BadInputGivesNullsWithTheReason) {
    for (const auto& c : kBadCases) {
        SCOPED_TRACE(c.name);
        SyntheticStation s;
        c.station(s);
        Reduction reduction(profileOf(s), c.options);
        reduction.setRecords(c.edit(s.make()));
        const auto r = reduction.results();
        for (const char* flag : c.stationFlags) {
            EXPECT_TRUE(r.flags.contains(QString::fromUtf8(flag)))
                << flag << " not in: " << r.flags.join("; ").toStdString();
        }
        for (const auto& [sensor, flag] : c.sensorFlags) {
            EXPECT_TRUE(r.sensors[sensor].flags.contains(QString::fromUtf8(flag)))
                << flag << " not in: " << r.sensors[sensor].flags.join("; ").toStdString();
        }
        EXPECT_EQ(r.sensors[0].tEqC.has_value(), c.tEq);
        EXPECT_EQ(r.sensors[0].kWPerMK.has_value(), c.k);
        EXPECT_EQ(r.gradientKPerM.has_value(), c.gradient);
        EXPECT_EQ(r.heatFlowMWPerM2.has_value(), c.heatFlow);
        EXPECT_EQ(r.heatFlowBullardMWPerM2.has_value(), c.heatFlow);
        EXPECT_EQ(r.quality.isEmpty(), !c.heatFlow);
        for (const auto& sensor : r.sensors) {
            EXPECT_EQ(sensor.tEqC.has_value() || !sensor.flags.isEmpty() || c.tEq, true);
            EXPECT_EQ(sensor.kWPerMK.has_value() || !sensor.flags.isEmpty() || !r.flags.isEmpty(),
                      true);
        }
    }
}

TEST(Reduction, NoRecordsOrOneRecord) {
    Reduction empty(ProbeProfile::defaultProfile());
    auto r = empty.results();
    EXPECT_TRUE(r.flags.contains("no records"));
    EXPECT_TRUE(r.flags.contains("default probe profile"));
    EXPECT_FALSE(r.penetrationS);

    empty.append(1796734800.0, {4, 4, 4, 4, 4}, 0);
    r = empty.results();
    EXPECT_EQ(r.records, 1);
    EXPECT_TRUE(r.flags.contains("penetration not seen"));
    EXPECT_FALSE(r.sensors[0].tEqC);
    EXPECT_FALSE(r.gradientKPerM);
}

TEST(Reduction, DefaultProfileIsNamedByEveryResultThatUsesIt) {
    SyntheticStation s;
    Reduction r(ProbeProfile::defaultProfile());
    r.setRecords(s.make());
    const auto out = r.results();
    EXPECT_TRUE(out.flags.contains("default probe profile"));
    EXPECT_TRUE(out.flags.contains("q from the default probe profile"));
    EXPECT_TRUE(out.flags.contains("gradient and heat flow from the default probe profile"));
    for (const auto& sensor : out.sensors) {
        EXPECT_TRUE(sensor.flags.contains("depth and k from the default probe profile"));
    }
}

} // namespace
} // namespace quorvane::analysis

namespace quorvane::analysis {
namespace {

// T4 reads 30 mK high: in the gradient it tilts the slope by 0.03·(1.5 − 1)/Σ(z − z̄)² =
// 0.006 K/m (depths 0 to 2 m by 0.5, Σ(z − z̄)² = 2.5); left out, the other four are exact.
TEST(Reduction, ThermistorsLeftOutByTheOperator) {
    SyntheticStation s;
    const StationRecords off =
        withSensor(s.make(), 3, [](std::size_t, double v) { return v + 0.030; });
    struct Case {
        const char* name;
        bool gradient;
        bool k;
        double slope;
        int kSensors;
        QString flag;
    };
    const Case cases[] = {
        {"kept", false, false, s.gradientKPerM + 0.006, 5, {}},
        {"out of the gradient", true, false, s.gradientKPerM, 5,
         "left out of the gradient by the operator: reads high"},
        {"out of both", true, true, s.gradientKPerM, 4,
         "left out of the gradient and the mean k by the operator: reads high"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReductionOptions o;
        o.excludeFromGradient[3] = c.gradient;
        o.excludeFromK[3] = c.k;
        o.exclusionReason[3] = QStringLiteral("reads high");
        Reduction reduction(profileOf(s), o);
        reduction.setRecords(off);
        const auto r = reduction.results();
        ASSERT_TRUE(r.gradientKPerM);
        EXPECT_NEAR(*r.gradientKPerM, c.slope, 2e-5);
        EXPECT_EQ(r.kSensorNames.size(), c.kSensors);
        EXPECT_EQ(r.gradientSensorNames.contains("T4"), !c.gradient);
        // Left out, it is still fitted and shown.
        EXPECT_NEAR(*r.sensors[3].tEqC, s.tEq(3) + 0.030, 2e-5);
        if (!c.flag.isEmpty()) {
            EXPECT_TRUE(r.sensors[3].flags.contains(c.flag))
                << r.sensors[3].flags.join("; ").toStdString();
        }
    }
}

// What holds the quality down besides the uncertainty, in order: a fit's misfit, the default
// profile, a k entered without an error. The word is only ever lowered to "acceptable".
TEST(StationSummary, QualityCapsAndTheirReasons) {
    struct Case {
        const char* name;
        bool misfit;
        bool defaultProfile;
        bool entered;
        double gradientErr; // of 0.1 K/m
        QString quality;
        QString cap;
    };
    const Case cases[] = {
        {"nothing", false, false, false, 0.001, "excellent", ""},
        {"a misfit", true, false, false, 0.001, "acceptable",
         "capped at acceptable: a fit's misfit is above 5 mK or 5 % of the rise (T2)"},
        {"the default profile", false, true, false, 0.012, "acceptable",
         "capped at acceptable: the default probe profile"},
        {"k entered", false, false, true, 0.001, "acceptable",
         "capped at acceptable: k entered by the operator, its error unknown"},
        {"poor anyway", true, false, false, 0.04, "poor", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeProfile p = c.defaultProfile ? ProbeProfile::defaultProfile() : ProbeProfile{};
        ReductionResults r;
        const char* names[] = {"TTop", "T2", "T3", "T4", "TBot"};
        for (std::size_t i = 0; i < 5; ++i) {
            r.sensors[i].name = names[i];
            r.sensors[i].tEqC = 4.0 + 0.1 * p.sensorDepthsM[i] + (i % 2 ? 1 : -1) * c.gradientErr;
            r.sensors[i].kWPerMK = 1.0;
            r.sensors[i].kErrWPerMK = 0.001;
            r.sensors[i].kMethod = c.entered ? "entered" : "pulse-F";
        }
        r.sensors[1].misfit = c.misfit;
        StationSummary::summarise(p, {}, r);
        EXPECT_EQ(r.quality, c.quality);
        EXPECT_EQ(r.qualityCap, c.cap);
    }
}

// The probe's calibration sheet: a heater known to 3 % and depths to 1 cm widen k, the
// gradient and the heat flow as much as they must, and the results say so.
TEST(Reduction, CalibrationUncertaintiesAreCarriedIntoTheErrors) {
    SyntheticStation s;
    s.noiseK = 0.0005;
    ProbeProfile p = profileOf(s);
    const auto plain = reduce(s);
    p.heaterCalibrationUncertainty = 0.03;
    p.depthUncertaintyM = 0.01;
    Reduction reduction(p);
    reduction.setRecords(s.make());
    const auto r = reduction.results();
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(*r.sensors[i].kErrWPerMK,
                    std::hypot(*plain.sensors[i].kErrWPerMK, 0.03 * *r.sensors[i].kWPerMK), 1e-9);
    }
    EXPECT_NEAR(*r.gradientErrKPerM,
                std::hypot(*plain.gradientErrKPerM, *plain.gradientKPerM * 0.01 / std::sqrt(2.5)),
                1e-9);
    EXPECT_GT(*r.relativeUncertainty, 0.03);
    EXPECT_EQ(r.uncertaintyIncludes,
              (QStringList{"fits", "heater calibration 3 %", "thermistor depths 0.01 m"}));
    EXPECT_EQ(plain.uncertaintyIncludes, QStringList{"fits"});
}

} // namespace
} // namespace quorvane::analysis

namespace quorvane::analysis {
namespace {

// Five records in the water are enough to see the jump (the search starts at the second);
// a jump already under way at the second record cannot be placed, and no later record is
// taken for it.
TEST(Reduction, PenetrationFromTwoRecordsInTheWater) {
    struct Case {
        int firstInSediment;
        bool seen;
        const char* flag;
    };
    const Case cases[] = {
        {5, true, nullptr},
        {2, true, nullptr},
        {1, false,
         "penetration not seen: the jump began at the first records, too early to "
         "place"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstInSediment);
        SyntheticStation s;
        s.intervalS = 10.0;
        s.records = 150;
        s.penetrationRecord = c.firstInSediment;
        s.heatDelayRecords = 42;
        s.heatRecords = 2;
        const auto r = reduce(s);
        EXPECT_EQ(r.penetrationSeen, c.seen);
        if (c.seen) {
            EXPECT_DOUBLE_EQ(*r.penetrationS, s.penetrationS());
        } else {
            EXPECT_DOUBLE_EQ(*r.penetrationS, s.startS);
            EXPECT_TRUE(r.flags.contains(c.flag)) << r.flags.join("; ").toStdString();
        }
    }
}

// The pulse window the operator gives, in seconds after the pulse's middle, is the one fitted;
// on a long heating it is not used, and says so.
TEST(Reduction, ThePulseWindowIsTheOperators) {
    SyntheticStation s;
    s.heatRecords = 20;
    ReductionOptions o;
    o.pulseWindowS = ReductionOptions::Window{40.0, 250.0};
    auto r = reduce(s, o);
    const double middle = (s.onS() + s.offS()) / 2.0;
    ASSERT_TRUE(r.sensors[0].kWindow);
    EXPECT_DOUBLE_EQ(r.sensors[0].kWindow->fromS, middle + 40.0);
    EXPECT_DOUBLE_EQ(r.sensors[0].kWindow->toS, middle + 250.0);
    EXPECT_NEAR(*r.sensors[0].kWPerMK, 1.0, 5e-3);
    s.heatRecords = 600;
    r = reduce(s, o);
    EXPECT_TRUE(r.flags.contains("long heating: the pulse window is not used"));
}

} // namespace
} // namespace quorvane::analysis
