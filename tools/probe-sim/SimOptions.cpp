#include "SimOptions.h"

#include "OptionValues.h"
#include "SimHelp.h"
#include "ThermalModel.h"

#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <sstream>

namespace quorvane::probesim {

namespace {

// Options that only one of the two modes can use.
const std::set<std::string> kFileOnly = {
    "--layout",    "--start",      "--interval", "--duration", "--heat-delay",
    "--heat-time", "--heat-level", "--truth",    "--pull-out", "--water-time-constant"};
const std::set<std::string> kLiveOnly = {
    "--link",           "--baud",         "--log",          "--fault-every", "--garbage",
    "--lone-cr",        "--wrong-length", "--bad-hex",      "--equal-refs",  "--split",
    "--split-delay-ms", "--drop-every",   "--hangup-after", "--restart",     "--restart-delay-ms",
    "--flood-rate",     "--flood-garbage"};

} // namespace

ModelParameters SimOptions::liveModel() const {
    ModelParameters m = model;
    m.penetrations.clear();
    for (double t : penetrationsS) {
        m.penetrations.push_back({t, std::nullopt});
    }
    return m;
}

ModelParameters SimOptions::fileModel() const {
    ModelParameters m = model;
    m.penetrations = fileSchedule().penetrations();
    return m;
}

FileSchedule SimOptions::fileSchedule() const {
    return FileSchedule({penetrationsS, pullOutsS, heatDelaysS, intervalS, heatTimeS, heatLevel});
}

std::optional<SimOptions> SimOptions::parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions o;
    std::set<std::string> given;
    std::string probePath;
    std::optional<std::array<double, 5>> depths;
    std::optional<double> heaterCal, radius, tilt, alpha;
    std::optional<std::array<double, 5>> frictionEnergy;
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
            if (!OptionValues::toLong(v, n) || n < min || n > 1000000000L) {
                return false;
            }
            target = int(n);
            return true;
        };
    };
    auto hex16 = [](std::uint16_t& target) {
        return [&target](const std::string& v) {
            long n = 0;
            if (v.size() > 4 || !OptionValues::toLong(v, n, 16) || n < 0) {
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
        {"--start", [&](const std::string& v) { return OptionValues::toUtcSeconds(v, o.start); }},
        {"--interval", count(o.intervalS, 1)},
        {"--duration", count(o.durationS, 0)},
        {"--heat-delay",
         [&](const std::string& v) { return OptionValues::toSecondsOrNone(v, o.heatDelaysS); }},
        {"--heat-time", count(o.heatTimeS, 0)},
        {"--heat-level",
         [&](const std::string& v) {
             return count(o.heatLevel, 0)(v) && o.heatLevel <= ThermalModel::kMaxLevel;
         }},
        {"--penetration",
         [&](const std::string& v) {
             if (v == "none") {
                 o.penetrationsS.clear();
                 return true;
             }
             return OptionValues::toList(v, o.penetrationsS, 0.0);
         }},
        {"--pull-out",
         [&](const std::string& v) { return OptionValues::toList(v, o.pullOutsS, 0.0); }},
        {"--water-time-constant",
         [&](const std::string& v) {
             return OptionValues::toDouble(v, o.model.waterTimeConstantS) &&
                    o.model.waterTimeConstantS > 0.0;
         }},
        {"--bottom-water",
         [&](const std::string& v) { return OptionValues::toDouble(v, o.model.bottomWaterC); }},
        {"--ambient",
         [&](const std::string& v) { return OptionValues::toDouble(v, o.model.bottomWaterC); }},
        {"--gradient",
         [&](const std::string& v) { return OptionValues::toDouble(v, o.model.gradientKPerM); }},
        {"--friction",
         [&](const std::string& v) {
             return OptionValues::toFive(v, o.model.frictionAKs, true) &&
                    OptionValues::allAtLeast(o.model.frictionAKs, 0, true);
         }},
        {"--friction-max",
         [&](const std::string& v) {
             return OptionValues::toDouble(v, o.model.frictionMaxK) && o.model.frictionMaxK >= 0.0;
         }},
        {"--friction-energy",
         [&](const std::string& v) {
             frictionEnergy.emplace();
             return OptionValues::toFive(v, *frictionEnergy, true) &&
                    OptionValues::allAtLeast(*frictionEnergy, 0, true);
         }},
        {"--friction-delay",
         [&](const std::string& v) {
             return OptionValues::toFive(v, o.model.frictionDelayS, true) &&
                    OptionValues::allAtLeast(o.model.frictionDelayS, 0, true);
         }},
        {"--offsets",
         [&](const std::string& v) { return OptionValues::toFive(v, o.model.offsetK, true); }},
        {"--conductivity",
         [&](const std::string& v) {
             return OptionValues::toFive(v, o.model.conductivity, true) &&
                    OptionValues::allAtLeast(o.model.conductivity, 0.0, false);
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
             return OptionValues::toFive(v, *depths, false);
         }},
        {"--heater-cal",
         [&](const std::string& v) {
             heaterCal = 0.0;
             return OptionValues::toDouble(v, *heaterCal);
         }},
        {"--radius",
         [&](const std::string& v) {
             radius = 0.0;
             return OptionValues::toDouble(v, *radius);
         }},
        {"--tilt",
         [&](const std::string& v) {
             tilt = 0.0;
             return OptionValues::toDouble(v, *tilt);
         }},
        {"--alpha",
         [&](const std::string& v) {
             alpha = 0.0;
             return OptionValues::toDouble(v, *alpha);
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
        {"--noise",
         [&](const std::string& v) {
             return OptionValues::toDouble(v, o.noiseK) && o.noiseK >= 0;
         }},
        {"--seed",
         [&](const std::string& v) {
             long n = 0;
             if (!OptionValues::toLong(v, n) || n < 0) {
                 return false;
             }
             o.seed = std::uint64_t(n);
             return true;
         }},
        {"--baud",
         [&](const std::string& v) {
             return OptionValues::toLong(v, o.baud) && o.baud > 0 && o.baud <= 100000000;
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
         [&](const std::string& v) {
             return OptionValues::toDouble(v, o.floodRate) && o.floodRate > 0;
         }},
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
            error = name + " needs --write-file";
            if (name.starts_with("--heat")) {
                error += " (in the live mode the program's commands drive the heater)";
            }
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
    o.model.profile.alpha = alpha.value_or(o.model.profile.alpha);
    if (const std::string why = o.model.profile.problem(); !why.empty()) {
        error = "probe: " + why;
        return std::nullopt;
    }
    if (frictionEnergy) {
        if (given.count("--friction")) {
            error = "give --friction or --friction-energy, not both";
            return std::nullopt;
        }
        // The late-time amplitude the model keeps: A = E/(4πk).
        for (std::size_t i = 0; i < frictionEnergy->size(); ++i) {
            o.model.frictionAKs[i] =
                (*frictionEnergy)[i] / (4.0 * std::numbers::pi * o.model.conductivity[i]);
        }
    }
    if (!o.fileMode() && o.penetrationsS.size() > 1) {
        error = "several penetrations need --write-file (the live probe goes in once)";
        return std::nullopt;
    }
    if (const std::string why = o.fileSchedule().problem(); o.fileMode() && !why.empty()) {
        error = why;
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
    return SimHelp::text();
}

} // namespace quorvane::probesim
