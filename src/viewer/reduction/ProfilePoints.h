#pragma once

#include "analysis/ReductionResults.h"

#include <QList>
#include <QString>

#include <optional>

namespace quorvane {

// The points of a station's two plots of T_eq: against the vertical depth z·cos θ, with the
// gradient's line, and against the cumulative thermal resistance from the top thermistor
// (Bullard's plot), with the line whose slope is Bullard's heat flow.
struct ProfilePoints {
    struct Point {
        QString name;
        double x = 0.0;    // vertical depth (m) or thermal resistance (m² K/W)
        double tC = 0.0;   // T_eq
        double errC = 0.0; // its error, 0 when there is none
        bool used = true;  // in the fit the line is drawn from
        QString note;      // why it is not: "left out: cracked", "not used"
    };
    QList<Point> points;
    // The fitted line T = interceptC + slope · x; none without a fit.
    std::optional<double> slope;
    std::optional<double> interceptC;
    // Thermistors with a T_eq that have no place on the plot (Bullard's: no k), with the reason.
    QStringList missing;

    // Every thermistor with a T_eq; those outside the gradient hollow, with the reason.
    static ProfilePoints depth(const analysis::ReductionResults& results);
    // The thermistors of both the gradient and the mean k, as the heat flow took them: each
    // interval's resistance with the mean k of its two ends.
    static ProfilePoints bullard(const analysis::ReductionResults& results);
    // z·cos θ of the thermistor, θ the tilt the station was reduced with.
    static double verticalDepth(const analysis::ReductionResults& results, std::size_t sensor);
    // The line's ends over the points' range of x.
    std::optional<std::pair<double, double>> xRange() const;
};

} // namespace quorvane
