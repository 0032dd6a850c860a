#pragma once

#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"

#include <QString>
#include <QVector>

namespace quorvane {

// The points and the fit of one thermistor's two fits, in the coordinates that make them
// plain: T against the decay's own x (Bullard's F, or 1/(t − t_p) for a line), where the fit
// is a straight line; and the heater's rise ΔT (the decay taken off) against the time since
// the pulse's middle, or against ln(t − t_on) for a long heating, with the curve that gave k.
struct FitCurves {
    struct Set {
        QVector<double> x;
        QVector<double> y;
    };
    Set inWindow; // the records the fit used
    Set outside;  // the other records of the same phase
    Set line;     // the fit, empty when there is none
    // The axes' names, with units: what x and y are for this fit's method.
    QString xLabel;
    QString yLabel;

    static FitCurves decay(const analysis::StationRecords& records,
                           const analysis::ReductionResults& results, std::size_t sensor);
    static FitCurves heating(const analysis::StationRecords& records,
                             const analysis::ReductionResults& results, std::size_t sensor);
};

} // namespace quorvane
