#include "SimOptions.h"

#include "ThermalModel.h"

#include <QDateTime>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace quorvane::probesim {

namespace {

bool toLong(const std::string& s, long& out, int base = 10) {
    if (s.empty()) {
        return false;
    }
    const char* end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, out, base);
    return ec == std::errc() && p == end;
}

bool toDouble(const std::string& s, double& out) {
    if (s.empty()) {
        return false;
    }
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(out);
}

// One value for all five sensors, or five separated by commas.
bool toFive(const std::string& s, std::array<double, 5>& out, bool allowOne) {
    std::vector<double> values;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = s.find(',', from);
        double v = 0.0;
        if (!toDouble(s.substr(from, comma - from), v)) {
            return false;
        }
        values.push_back(v);
        if (comma == std::string::npos) {
            break;
        }
        from = comma + 1;
    }
    if (values.size() == 1 && allowOne) {
        out.fill(values[0]);
        return true;
    }
    if (values.size() != out.size()) {
        return false;
    }
    std::copy(values.begin(), values.end(), out.begin());
    return true;
}

bool allAtLeast(const std::array<double, 5>& values, double min, bool inclusive) {
    for (double v : values) {
        if (inclusive ? v < min : v <= min) {
            return false;
        }
    }
    return true;
}

// An ISO 8601 time in whole seconds with "Z" or an offset.
bool toUtcSeconds(const std::string& s, std::chrono::sys_seconds& out) {
    const QDateTime t = QDateTime::fromString(QString::fromStdString(s), Qt::ISODate);
    if (!t.isValid() || t.timeSpec() == Qt::LocalTime || t.time().msec() != 0) {
        return false;
    }
    out = std::chrono::sys_seconds{std::chrono::seconds{t.toSecsSinceEpoch()}};
    return true;
}

// Options that only one of the two modes can use.
const std::set<std::string> kFileOnly = {"--layout",     "--start",      "--interval",
                                         "--duration",   "--heat-delay", "--heat-time",
                                         "--heat-level", "--truth"};
const std::set<std::string> kLiveOnly = {
    "--link",           "--baud",         "--log",          "--fault-every", "--garbage",
    "--lone-cr",        "--wrong-length", "--bad-hex",      "--equal-refs",  "--split",
    "--split-delay-ms", "--drop-every",   "--hangup-after", "--restart",     "--restart-delay-ms",
    "--flood-rate",     "--flood-garbage"};

} // namespace

ModelParameters SimOptions::liveModel() const {
    ModelParameters m = model;
    m.penetrationS = penetrationS;
    return m;
}

ModelParameters SimOptions::fileModel() const {
    ModelParameters m = model;
    if (penetrationS) {
        m.penetrationS = *penetrationS - intervalS / 2.0;
    }
    return m;
}

std::optional<HeaterSpan> SimOptions::fileHeater() const {
    if (heatLevel <= 0 || heatTimeS <= 0) {
        return std::nullopt;
    }
    const double on = heatDelayS + intervalS / 2.0;
    return HeaterSpan{on, on + heatTimeS, double(heatLevel)};
}

std::optional<SimOptions> SimOptions::parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions o;
    std::set<std::string> given;
    std::string probePath;
    std::optional<std::array<double, 5>> depths;
    std::optional<double> heaterCal, radius, tilt;
    auto addMode = [&o](FaultMode m) {
        for (FaultMode have : o.faults.modes) {
            if (have == m) {
                return;
            }
        }
        o.faults.modes.push_back(m);
    };

    using Flag = std::function<void()>;
    const std::map<std::string, Flag> flags = {
        {"--help", [&] { o.help = true; }},
        {"-h", [&] { o.help = true; }},
        {"--garbage", [&] { addMode(FaultMode::Garbage); }},
        {"--lone-cr", [&] { addMode(FaultMode::LoneCr); }},
        {"--wrong-length", [&] { addMode(FaultMode::WrongLength); }},
        {"--bad-hex", [&] { addMode(FaultMode::BadHex); }},
        {"--equal-refs", [&] { addMode(FaultMode::EqualRefs); }},
        {"--split", [&] { o.faults.split = true; }},
        {"--restart", [&] { o.restart = true; }},
        {"--flood-garbage", [&] { o.floodGarbage = true; }},
    };

    // Each returns false when the value does not fit.
    using Valued = std::function<bool(const std::string&)>;
    auto count = [](int& target, long min) {
        return [&target, min](const std::string& v) {
            long n = 0;
            if (!toLong(v, n) || n < min || n > 1000000000L) {
                return false;
            }
            target = int(n);
            return true;
        };
    };
    auto hex16 = [](std::uint16_t& target) {
        return [&target](const std::string& v) {
            long n = 0;
            if (v.size() > 4 || !toLong(v, n, 16) || n < 0) {
                return false;
            }
            target = std::uint16_t(n);
            return true;
        };
    };
    int splitDelayMs = int(o.faults.splitDelay.count());
    const std::map<std::string, Valued> valued = {
        {"--write-file",
         [&](const std::string& v) {
             o.writeFilePath = v;
             return !v.empty();
         }},
        {"--truth",
         [&](const std::string& v) {
             o.truthPath = v;
             return !v.empty();
         }},
        {"--layout",
         [&](const std::string& v) {
             o.rawHexLayout = v == "rawhex";
             return v == "rawhex" || v == "temperature";
         }},
        {"--start", [&](const std::string& v) { return toUtcSeconds(v, o.start); }},
        {"--interval", count(o.intervalS, 1)},
        {"--duration", count(o.durationS, 0)},
        {"--heat-delay", count(o.heatDelayS, 0)},
        {"--heat-time", count(o.heatTimeS, 0)},
        {"--heat-level",
         [&](const std::string& v) {
             return count(o.heatLevel, 0)(v) && o.heatLevel <= ThermalModel::kMaxLevel;
         }},
        {"--penetration",
         [&](const std::string& v) {
             if (v == "none") {
                 o.penetrationS.reset();
                 return true;
             }
             o.penetrationS = 0.0;
             return toDouble(v, *o.penetrationS) && *o.penetrationS >= 0.0;
         }},
        {"--bottom-water", [&](const std::string& v) { return toDouble(v, o.model.bottomWaterC); }},
        {"--ambient", [&](const std::string& v) { return toDouble(v, o.model.bottomWaterC); }},
        {"--gradient", [&](const std::string& v) { return toDouble(v, o.model.gradientKPerM); }},
        {"--friction",
         [&](const std::string& v) {
             return toFive(v, o.model.frictionAKs, true) &&
                    allAtLeast(o.model.frictionAKs, 0, true);
         }},
        {"--friction-max",
         [&](const std::string& v) {
             return toDouble(v, o.model.frictionMaxK) && o.model.frictionMaxK >= 0.0;
         }},
        {"--conductivity",
         [&](const std::string& v) {
             return toFive(v, o.model.conductivity, true) &&
                    allAtLeast(o.model.conductivity, 0.0, false);
         }},
        {"--probe",
         [&](const std::string& v) {
             probePath = v;
             return !v.empty();
         }},
        {"--depths",
         [&](const std::string& v) {
             std::array<double, 5> d{};
             depths = d;
             return toFive(v, *depths, false);
         }},
        {"--heater-cal",
         [&](const std::string& v) {
             heaterCal = 0.0;
             return toDouble(v, *heaterCal);
         }},
        {"--radius",
         [&](const std::string& v) {
             radius = 0.0;
             return toDouble(v, *radius);
         }},
        {"--tilt",
         [&](const std::string& v) {
             tilt = 0.0;
             return toDouble(v, *tilt);
         }},
        {"--serial",
         [&](const std::string& v) {
             o.serial = v;
             return v.find_first_of("\r\n") == std::string::npos;
         }},
        {"--firmware",
         [&](const std::string& v) {
             o.firmware = v;
             return v.find_first_of("\r\n") == std::string::npos;
         }},
        {"--noise", [&](const std::string& v) { return toDouble(v, o.noiseK) && o.noiseK >= 0; }},
        {"--seed",
         [&](const std::string& v) {
             long n = 0;
             if (!toLong(v, n) || n < 0) {
                 return false;
             }
             o.seed = std::uint64_t(n);
             return true;
         }},
        {"--baud",
         [&](const std::string& v) {
             return toLong(v, o.baud) && o.baud > 0 && o.baud <= 100000000;
         }},
        {"--link",
         [&](const std::string& v) {
             o.linkPath = v;
             return !v.empty();
         }},
        {"--log",
         [&](const std::string& v) {
             o.logPath = v;
             return !v.empty();
         }},
        {"--ref-20k", hex16(o.ref20k)},
        {"--ref-100k", hex16(o.ref100k)},
        {"--fault-every", count(o.faults.every, 1)},
        {"--split-delay-ms", count(splitDelayMs, 0)},
        {"--drop-every", count(o.dropEvery, 1)},
        {"--hangup-after", count(o.hangupAfter, 1)},
        {"--restart-delay-ms", count(o.restartDelayMs, 0)},
        {"--flood-rate",
         [&](const std::string& v) { return toDouble(v, o.floodRate) && o.floodRate > 0; }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        given.insert(name);
        if (const auto f = flags.find(name); f != flags.end() && !value) {
            f->second();
            continue;
        }
        const auto v = valued.find(name);
        if (v == valued.end()) {
            error = "unknown option: " + args[i];
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!v->second(*value)) {
            error = "bad value for " + name + ": " + *value;
            return std::nullopt;
        }
    }
    o.faults.splitDelay = std::chrono::milliseconds(splitDelayMs);

    for (const std::string& name : given) {
        if (o.fileMode() && kLiveOnly.count(name)) {
            error = name + " is for the live mode, not with --write-file";
            return std::nullopt;
        }
        if (!o.fileMode() && kFileOnly.count(name)) {
            error = name + " needs --write-file (in the live mode the program's commands drive "
                           "the heater)";
            return std::nullopt;
        }
    }
    if (!probePath.empty()) {
        const auto profile = ProbeProfile::load(probePath, error);
        if (!profile) {
            return std::nullopt;
        }
        o.model.profile = *profile;
        if (!given.count("--serial")) {
            o.serial = profile->serial;
        }
        if (o.serial.find_first_of("\r\n") != std::string::npos) {
            error = "profile: serial must not hold a line break";
            return std::nullopt;
        }
    }
    o.model.profile.serial = o.serial;
    if (depths) {
        o.model.profile.depthsM = *depths;
    }
    o.model.profile.heaterWPerMPerLevel = heaterCal.value_or(o.model.profile.heaterWPerMPerLevel);
    o.model.profile.radiusM = radius.value_or(o.model.profile.radiusM);
    o.model.profile.tiltDeg = tilt.value_or(o.model.profile.tiltDeg);
    if (const std::string why = o.model.profile.problem(); !why.empty()) {
        error = "probe: " + why;
        return std::nullopt;
    }
    if (o.fileMode() && !given.count("--noise")) {
        o.noiseK = 0.0;
    }
    if (o.fileMode() && o.durationS / o.intervalS > kMaxRecords) {
        error = "--duration gives more than " + std::to_string(kMaxRecords) + " records";
        return std::nullopt;
    }

    if (o.ref20k == o.ref100k) {
        error = "--ref-20k and --ref-100k must differ (use --equal-refs for that fault)";
        return std::nullopt;
    }
    if (o.floodGarbage && o.floodRate <= 0.0) {
        error = "--flood-garbage needs --flood-rate";
        return std::nullopt;
    }
    if (o.restart && o.hangupAfter == 0) {
        error = "--restart needs --hangup-after";
        return std::nullopt;
    }
    return o;
}

std::string SimOptions::helpText() {
    return R"(Usage: quorvane-probe-sim [options]
       quorvane-probe-sim --write-file PATH [model and file options]

Simulates a Quorvane heat-flow probe on a pseudo-terminal. Prints the slave device path as
the first line on stdout (and again after every --restart), then answers the instrument's
commands on it until SIGINT or SIGTERM. With --write-file it writes a whole data log file at
once instead (no pty, no waiting) and exits 0; bad options exit 2 with the reason on stderr.

Commands answered (no terminator; several per read or split over reads are fine):
  #HFN                 serial-number reply "#HFN <serial>" CR LF
  #HFH                 firmware banner "Quorvane Serial Heatflow, Ver <firmware>" CR LF
  T                    one 43-character data record + CR LF
  !Q<dur> <lvl>        heater on for <dur> seconds (>= 4 hex digits) at level <lvl>
                       (>= 2 hex digits, 0-200); each followed by a space
  !P<lvl>              heater at level <lvl> (hex, 0-200) until further notice, then a
                       space; "!P00 " is heater off
  Hex digits must be 0-9 and upper-case A-F. Anything else is logged as IGNORED.

Model (both modes). Before penetration every thermistor reads the bottom water; at the
penetration time tp each jumps to its equilibrium Tbw + G*z*cos(tilt) plus a frictional excess
A/(t - tp), capped; the heater adds the line-source rise q/(4 pi k) E1(a^2/(4 kappa (t - ton)))
while on and its superposition with the switch-off after, q = level * heater calibration,
kappa = k/(5.79 - 3.67k + 1.016k^2) * 1e-6 m^2/s; Gaussian noise on top.
  --penetration S|none seconds after the start (live) or after the first record (file: the
                       first record in the sediment; the true tp is half an interval before
                       it); none: in the sediment from the start, no jump (default 60)
  --bottom-water C     bottom-water temperature (default 4.0); --ambient C is the same
  --gradient K/M       vertical temperature gradient of the sediment (default 0.064)
  --friction A|A1,..,A5  frictional decay constants in K*s, one or five (default 10)
  --friction-max K     largest frictional excess (default 5)
  --conductivity K|K1,..,K5  sediment conductivity in W/(m K), one or five (default 1.0)
  --probe FILE         probe profile JSON: serial, sensor_depths_m (five),
                       heater_w_per_m_per_level, radius_m, tilt_deg (default: serial 0417,
                       depths 0,0.5,1,1.5,2 m, 0.25 W/m per level, radius 0.001 m, tilt 0)
  --depths A,B,C,D,E   thermistor depths along the probe in metres (overrides the profile)
  --heater-cal C       W/m per level unit (overrides the profile)
  --radius A           probe radius in metres (overrides the profile)
  --tilt DEG           tilt from vertical in degrees, 0 to below 90 (overrides the profile)
  --noise K            noise standard deviation in kelvin (default 0.003 live, 0 in file mode)
  --seed N             seed of the noise and fault randomness (default: random)

File mode (records at start + n*interval, n = 0..duration/interval, CR LF lines, the
program's header block, stamps and number forms):
  --write-file PATH    write the data log file and exit
  --layout temperature|rawhex  the program's two layouts (default temperature)
  --start ISO-UTC      time of the first record, whole seconds (default 2026-12-08T13:00:00Z)
  --interval S         log interval in whole seconds (default 1)
  --duration S         span of the records in seconds (default 1800)
  --heat-delay S       the heater comes on half an interval after the record at this many
                       seconds after the first, so the next record is the first heated
                       (default 480)
  --heat-time S        seconds the heater stays on (default 600)
  --heat-level L       heater level 0-200, the heater column while on (default 120; 0: none)
  --truth PATH         also write the true values as JSON: t_p, t_on, t_off (ISO UTC with
                       milliseconds, null when absent), q, per sensor name, depth_m,
                       vertical_depth_m, t_eq_c, k, kappa, friction_a; gradient_k_per_m,
                       heat_flow_mw_per_m2 (harmonic mean k * gradient * 1000)

Instrument:
  --serial TEXT        serial number in the #HFN reply and the file header (default: the
                       profile's, 0417)
  --firmware TEXT      version in the banner and the file header (default 2.31)
  --ref-20k HEX        reading of the 20 kOhm reference (default 0380)
  --ref-100k HEX       reading of the 100 kOhm reference (default 2A80); with the
                       defaults temperatures from -20.3 to +45.8 C fit in 0000-7FFF and
                       decode to within 0.01 C; beyond that readings saturate

Line (live mode only, as are the faults and the flood):
  --link PATH          also make a symbolic link PATH to the slave (replaces an existing
                       link, never a file; removed on exit)
  --baud N             pace all output at N/10 characters per second
  --log FILE           log commands received and lines sent (appended), see below

Faults (records are numbered from 1; the n-th, 2n-th, ... record is spoiled, the chosen
modes taking turns):
  --fault-every N      which records are spoiled (default 3)
  --garbage            a line of random bytes before the record (the record stays good)
  --lone-cr            record ended by CR alone; a bare CR LF follows after the split
                       delay, giving one 44-character line
  --wrong-length       last field one digit short or long (42 or 44 characters)
  --bad-hex            one digit of a field other than Xtra is not hexadecimal
  --equal-refs         the 20K field equals the 100K field
  --split              every record line goes out in two writes, cut at a random place,
                       the second after the split delay (the record stays good)
  --split-delay-ms N   pause before the second write of a split (default 300)
  --drop-every N       no answer to every N-th "T"
  --hangup-after N     close the pty after N records have been written
  --restart            after a hangup, open a new pty, print its path, repoint --link
  --restart-delay-ms N pause before the new pty (default 1000)

Flood (soak and benchmarks):
  --flood-rate CPS     send records unprompted at CPS characters per second
  --flood-garbage      flood with random bytes without line breaks instead of records

  --help, -h           this text

Log lines: "<UTC time, ISO 8601 with milliseconds>Z <event>", events:
  PTY <path>           a pty was opened (at start and after each restart)
  CMD <text>           a command received, exactly (escaped as below)
  IGNORED <bytes>      bytes skipped while looking for a command
  HEATER-ON duration=<s> level=<n>, HEATER-LEVEL level=<n>, HEATER-OFF,
  HEATER-EXPIRED       the heater state the model follows
  SENT-REPLY <line>    a #HFN or #HFH reply written (with its CR LF, escaped)
  SENT-GOOD <payload>  a record written that the program must accept (its 40 characters)
  FAULT <mode>         the next SENT-BAD line was spoiled this way
  SENT-BAD <line>      a line written that the program must not take as a record
  DROPPED T            a "T" left unanswered
  FLOOD-GARBAGE <n>    n bytes of flood garbage written
  HANGUP               the pty was closed
  STOP                 the simulator ended
Lines are written when their last byte has left. Escapes: \\ \r \n, and \xHH for every
other byte outside printable ASCII.
)";
}

} // namespace quorvane::probesim
