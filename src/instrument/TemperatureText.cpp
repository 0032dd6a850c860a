#include "instrument/TemperatureText.h"

#include <charconv>

namespace quorvane {

std::string formatTemperature(double celsius) {
    // to_chars never follows the locale, which QApplication sets from the environment.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, celsius, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

} // namespace quorvane
