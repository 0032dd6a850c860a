#pragma once

#include <optional>
#include <string>

namespace quorvane {

// Steinhart-Hart coefficients of the probe's thermistors: 1/T = A + B ln R + C (ln R)^3.
inline constexpr double kSteinhartA = 0.0009354;
inline constexpr double kSteinhartB = 0.0002211;
inline constexpr double kSteinhartC = 1.275e-7;

// Resistance of a thermistor reading by the straight line through the two references:
// the 20K reading gives 20000 ohm, the 100K reading 100000 ohm. nullopt when the
// references are equal or the arithmetic overflows.
std::optional<double> resistance(double reading20k, double reading100k, double thermistorReading);

// The same from the record's hexadecimal fields; nullopt on any failure, silently.
std::optional<double> rawhex2resistance(const std::string& hexValueAt20k,
                                        const std::string& hexValueAt100k,
                                        const std::string& thermistorHexValue);

// Temperature in degrees Celsius of a resistance in ohms. Throws Failure for R <= 0.
double r2t(double resistanceOhms);

} // namespace quorvane
