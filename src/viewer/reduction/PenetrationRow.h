#pragma once

#include "analysis/ReductionResults.h"
#include "viewer/reduction/FileRuns.h"

#include <QString>

#include <optional>

namespace quorvane {

// One penetration of the shown file, as the panel's list shows it.
struct PenetrationRow {
    int run;
    int penetration;
    int index; // in the whole file, from 1: what --station takes
    double startS;
    double penetrationS;
    int records;
    std::optional<double> heatFlowMWPerM2;
    QString quality;

    // Its numbers once reduced (`results` null while not yet).
    static PenetrationRow of(const FileRuns::Penetration& p,
                             const analysis::ReductionResults* results);
};

} // namespace quorvane
