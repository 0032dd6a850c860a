#pragma once

#include <string>

namespace quorvane {

// A temperature as "##0.000": at least one integer digit, three decimals, rounded.
std::string formatTemperature(double celsius);

} // namespace quorvane
