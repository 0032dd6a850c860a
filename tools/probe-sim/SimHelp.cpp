#include "SimHelp.h"

namespace quorvane::probesim {

std::string SimHelp::text() {
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

Model (both modes). Real probes are tubes of radius a (2 to 5 mm) with a heat capacity of
their own, so every heating follows Bullard's perfectly conducting cylinder, not a line:
F(alpha, tau), tau = kappa t / a^2, alpha = 2 (rho c)sediment / (rho c)probe (about 2); for
a = 4.76 mm a^2/kappa is about 90 s. Before the penetration every thermistor reads the
bottom water; from the penetration tp it reads its equilibrium Tbw + G*z*cos(tilt) plus
the friction, a heating of E J/m at tp + delay,
  (E/(4 pi k)) (2 alpha kappa/a^2) F(alpha, kappa (t - tp - delay)/a^2),
finite at the heating and A/(t - tp - delay) late, A = E/(4 pi k); plus the heater at
q = level * heater calibration from ton to toff, a pulse and a long heating alike,
  (q/(4 pi k)) [H(kappa (t - ton)/a^2) - H(kappa (t - toff)/a^2)],
H = 2 alpha * integral of F; kappa = k/(5.79 - 3.67k + 1.016k^2) * 1e-6 m^2/s. After a
pull-out the probe relaxes exponentially to the bottom water, and each penetration starts
afresh from it. Each thermistor's offset is on all its readings; Gaussian noise on top.
alpha 0 is the ideal line source instead: friction A/(t - tp) capped, heater
q/(4 pi k) E1(a^2/(4 kappa t)).
  --penetration S|S1,S2,..|none  seconds after the start (live; one only) or after the first
                       record (file: the first record in the sediment; the true tp is half
                       an interval before it); none: in the sediment from the start, no
                       jump (default 60)
  --bottom-water C     bottom-water temperature (default 4.0); --ambient C is the same
  --gradient K/M       vertical temperature gradient of the sediment (default 0.064)
  --friction A|A1,..,A5  frictional heating as its late-time amplitude A = E/(4 pi k) in
                       K*s, one or five (default 10)
  --friction-energy E|E1,..,E5  or as the energy E in J/m, one or five
  --friction-delay D|D1,..,D5  seconds from tp to each thermistor's frictional heating,
                       zero or more, one or five (default 0)
  --friction-max K     largest frictional excess of the line source, alpha 0 (default 5)
  --conductivity K|K1,..,K5  sediment conductivity in W/(m K), one or five (default 1.0)
  --offsets C|C1,..,C5 calibration offset of each thermistor in kelvin, added to every
                       reading, one or five (default 0)
  --probe FILE         probe profile JSON: serial, sensor_depths_m (five),
                       heater_w_per_m_per_level, radius_m, alpha, tilt_deg (default: serial
                       0417, depths 0,0.5,1,1.5,2 m, 0.25 W/m per level, radius 0.001 m,
                       alpha 2, tilt 0)
  --depths A,B,C,D,E   thermistor depths along the probe in metres (overrides the profile)
  --heater-cal C       W/m per level unit (overrides the profile)
  --radius A           probe radius in metres (overrides the profile)
  --alpha A            twice the sediment's heat capacity over the probe's, 0.1 to 10; 0: an
                       ideal line source (overrides the profile)
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
  --pull-out P1,P2,..  the first record back in the water after each penetration (one per
                       penetration, each before the next; the last may be left out: the
                       probe stays in); the pull-out is half an interval before it
  --water-time-constant S  how fast the probe takes the water's temperature (default 5)
  --heat-delay S|S1,S2,..  the heater comes on half an interval after the record at this
                       many seconds after the first, so the next record is the first heated;
                       with several penetrations one per penetration, none for one that is
                       not heated, each from its penetration and off before its pull-out
                       (default 480)
  --heat-time S        seconds the heater stays on, each time (default 600)
  --heat-level L       heater level 0-200, the heater column while on (default 120; 0: none)
  --truth PATH         also write the true values as JSON: t_p, t_on, t_off (ISO UTC with
                       milliseconds, null when absent; the first penetration's), q, alpha,
                       radius_m, water_time_constant_s, penetrations (t_p, t_on, t_off,
                       pull_out of each), per
                       sensor name, depth_m, vertical_depth_m, t_eq_c, k, kappa, friction_a,
                       friction_energy_j_per_m, friction_delay_s, offset_c; gradient_k_per_m,
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
