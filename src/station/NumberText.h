#pragma once

#include <QString>

#include <optional>

namespace quorvane::station {

// Numbers in the station's files and tables: a decimal point whatever the locale, and no
// more digits than the value holds (12 significant at most, which hides the last bits' noise
// of a unit conversion such as 0.064123 K/m × 1000).
class NumberText {
public:
    static QString format(double value);
    // A finite number, or nothing for an empty cell or text that is not a number.
    static std::optional<double> parse(const QString& text);
};

} // namespace quorvane::station
