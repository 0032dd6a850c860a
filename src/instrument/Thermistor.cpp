#include "instrument/Thermistor.h"

#include "instrument/Hex.h"
#include "platform/Failure.h"
#include "util/ErrorText.h"

#include <cmath>

namespace quorvane {

std::optional<double> resistance(double reading20k, double reading100k, double thermistorReading) {
    const double span = reading100k - reading20k;
    if (span == 0) {
        return std::nullopt;
    }
    const double r = (thermistorReading - reading20k) / span * 80000 + 20000;
    if (!std::isfinite(r)) {
        return std::nullopt;
    }
    return r;
}

std::optional<double> rawhex2resistance(const std::string& hexValueAt20k,
                                        const std::string& hexValueAt100k,
                                        const std::string& thermistorHexValue) {
    try {
        const double a = hex2decimal(hexValueAt20k);
        const double b = hex2decimal(hexValueAt100k);
        const double x = hex2decimal(thermistorHexValue);
        return resistance(a, b, x);
    } catch (...) {
        return std::nullopt;
    }
}

double r2t(double resistanceOhms) {
    if (!(resistanceOhms > 0)) {
        throw Failure(errors::kInvalidCall, "Invalid procedure call or argument");
    }
    const double l = std::log(resistanceOhms);
    const double d = kSteinhartC * l * l * l + (kSteinhartB * l + kSteinhartA);
    if (d == 0) {
        return -99.99;
    }
    return 1 / d - 273.15;
}

} // namespace quorvane
