#pragma once

#include <string>

namespace quorvane {

// A temperature as "##0.000": at least one integer digit, three decimals, rounded, and a
// decimal point in every locale.
std::string formatTemperature(double celsius);

} // namespace quorvane
