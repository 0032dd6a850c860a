#include "instrument/TemperatureText.h"

#include "util/DecimalText.h"

namespace quorvane {

// Not printf: that writes the decimal separator of LC_NUMERIC, which the toolkit takes
// from the environment ("3,472" under de_DE); the data log file always has a point.
std::string formatTemperature(double celsius) {
    return decimalText::fixedDigits(celsius, 3);
}

} // namespace quorvane
