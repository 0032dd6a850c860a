#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Exact readings and writings of decimal numbers, the same in every locale: nothing
// here goes through a double on the way or looks at the C or C++ locale.
namespace decimalText {

// A numeric text (blanks, optional "+"/"-", digits with at most one ".", at least one
// digit, optional exponent "e"/"E" with optional sign and digits, blanks) times 10^scale,
// rounded to the nearest integer with a tie going to the even neighbour, read exactly
// from its digits. Empty when the text is not numeric or the result does not fit 64 bits.
std::optional<std::int64_t> roundedScaled(std::string_view text, int scale);

// The shortest digits that read back as the same double, with a point and never an
// exponent: "0.0001", "123456789012345", "-2.5". Finite values only.
std::string plainDigits(double value);

// The same with an exponent ("1e+20", "1.5e-07").
std::string exponentDigits(double value);

// An exponent and exactly that many decimals, rounded from the exact binary value
// ("1.23e+04").
std::string exponentDigits(double value, int decimals);

// Fixed notation with exactly that many decimals, rounded from the exact binary value.
std::string fixedDigits(double value, int decimals);

} // namespace decimalText
} // namespace quorvane
