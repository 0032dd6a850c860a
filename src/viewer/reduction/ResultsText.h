#pragma once

#include "analysis/ReductionResults.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvane {

// The results in words and numbers for the panel and the report. Numbers are written with
// a point under any locale; a value that could not be found is a dash.
class ResultsText {
public:
    static QString number(std::optional<double> value, int decimals);
    // "4.12345 ± 0.00041": the error to two significant digits, the value to the same place;
    // `decimals` when there is no error.
    static QString withError(std::optional<double> value, std::optional<double> error,
                             int decimals);
    static QString utc(std::optional<double> timeS);
    // "+12.5 s" style offsets for windows.
    static QString window(const std::optional<analysis::FitWindow>& window, double originS);

    static QString gradient(const analysis::ReductionResults& r);
    static QString heatFlow(const analysis::ReductionResults& r);
    static QString heatFlowBullard(const analysis::ReductionResults& r);
    static QString quality(const analysis::ReductionResults& r);
    static QString heater(const analysis::ReductionResults& r);
    static QString penetration(const analysis::ReductionResults& r);
    // The station's flags, then each thermistor's as "T2: reason".
    static QStringList reasons(const analysis::ReductionResults& r);

    static constexpr const char* kDash = "—";
    // The reduction's flag for a penetration time the operator set and it used.
    static constexpr const char* kSetByOperator = "penetration time set by the operator";
};

} // namespace quorvane
