#include "SimOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

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

// With a point whatever the locale ("20.5"); strtod would want "20,5" under de_DE.
bool toDouble(const std::string& s, double& out) {
    if (s.empty()) {
        return false;
    }
    const char* end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end && std::isfinite(out);
}

} // namespace

std::optional<SimOptions> SimOptions::parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions o;
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
        {"--ambient", [&](const std::string& v) { return toDouble(v, o.ambientC); }},
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

Simulates a Quorvane heat-flow probe on a pseudo-terminal. Prints the slave device path as
the first line on stdout (and again after every --restart), then answers the instrument's
commands on it until SIGINT or SIGTERM.

Commands answered (no terminator; several per read or split over reads are fine):
  #HFN                 serial-number reply "#HFN <serial>" CR LF
  #HFH                 firmware banner "Quorvane Serial Heatflow, Ver <firmware>" CR LF
  T                    one 43-character data record + CR LF
  !Q<dur> <lvl>        heater on for <dur> seconds (>= 4 hex digits) at level <lvl>
                       (>= 2 hex digits, 0-200); each followed by a space
  !P<lvl>              heater at level <lvl> (hex, 0-200) until further notice, then a
                       space; "!P00 " is heater off
  Hex digits must be 0-9 and upper-case A-F. Anything else is logged as IGNORED.

Instrument:
  --serial TEXT        serial number in the #HFN reply (default 0417)
  --firmware TEXT      version in the banner (default 2.31)
  --ambient C          ambient temperature of all five thermistors (default 4.0)
  --noise K            noise amplitude, uniform in +-K kelvin (default 0.003)
  --seed N             seed of the noise and fault randomness (default: random)
  --ref-20k HEX        reading of the 20 kOhm reference (default 0380)
  --ref-100k HEX       reading of the 100 kOhm reference (default 2A80); with the
                       defaults temperatures from -20.3 to +45.8 C fit in 0000-7FFF and
                       decode to within 0.01 C; beyond that readings saturate

Line:
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
