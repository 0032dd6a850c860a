#pragma once

#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"

#include <QVector>

namespace quorvane {

// The points and the fit line of one thermistor's two fits, in the coordinates that make
// them straight: T against 1/(t − t_p), and the heater's rise ΔT against ln(t − t_on).
struct FitCurves {
    struct Set {
        QVector<double> x;
        QVector<double> y;
    };
    Set inWindow; // the records the fit used
    Set outside;  // the other records of the same phase
    Set line;     // the fit, empty when there is none

    static FitCurves decay(const analysis::StationRecords& records,
                           const analysis::ReductionResults& results, std::size_t sensor);
    static FitCurves heating(const analysis::StationRecords& records,
                             const analysis::ReductionResults& results, std::size_t sensor,
                             double radiusM);
};

} // namespace quorvane
