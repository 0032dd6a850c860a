#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::probesim {

// The values of command-line options as text: numbers with a point whatever the locale, lists
// of one value for all five thermistors or five, and UTC times.
class OptionValues {
public:
    static bool toLong(const std::string& s, long& out, int base = 10);
    // With a point whatever the locale ("20.5"); strtod would want "20,5" under de_DE.
    static bool toDouble(const std::string& s, double& out);
    // One value for all five sensors (when allowOne), or five separated by commas.
    static bool toFive(const std::string& s, std::array<double, 5>& out, bool allowOne);
    // Values separated by commas, each at least min.
    static bool toList(const std::string& s, std::vector<double>& out, double min);
    // Whole seconds separated by commas, "none" for a missing one.
    static bool toSecondsOrNone(const std::string& s, std::vector<std::optional<int>>& out);
    static std::vector<std::string> split(const std::string& s);
    static bool allAtLeast(const std::array<double, 5>& values, double min, bool inclusive);
    // An ISO 8601 time in whole seconds with "Z" or an offset.
    static bool toUtcSeconds(const std::string& s, std::chrono::sys_seconds& out);
};

} // namespace quorvane::probesim
