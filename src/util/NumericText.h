#pragma once

#include <optional>
#include <string>

namespace quorvane {

// Reads a numeric text: optional blanks, an optional sign, decimal digits with at most one
// point (at least one digit), an optional exponent ("e" or "E", sign, digits), optional
// blanks. nullopt for anything else.
std::optional<double> parseNumericText(const std::string& text);

// Rounds to the nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

} // namespace quorvane
