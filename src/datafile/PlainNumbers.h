#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Numbers in files and exports, whatever the locale: a point as decimal separator.

// A decimal number: optional sign, digits with at most one point or comma, optional
// exponent. A comma is read as the point, so a line written under a comma locale still
// reads. nullopt for anything else, also for blanks around it.
std::optional<double> parsePlainNumber(std::string_view text);

// A whole number of digits only (no sign) that fits an int.
std::optional<int> parsePlainCount(std::string_view text);

// `value` with exactly `decimals` decimals and a point ("-1.076"); "nan" for NaN.
std::string formatFixed(double value, int decimals);

} // namespace quorvane
