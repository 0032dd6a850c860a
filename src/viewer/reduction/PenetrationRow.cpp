#include "viewer/reduction/PenetrationRow.h"

namespace quorvane {

PenetrationRow PenetrationRow::of(const FileRuns::Penetration& p,
                                  const analysis::ReductionResults* results) {
    PenetrationRow row{p.key.run,
                       p.key.penetration,
                       p.index,
                       p.startS,
                       p.jumpS.value_or(p.startS),
                       static_cast<int>(p.span.end - p.span.begin),
                       std::nullopt,
                       QString()};
    if (results) {
        row.penetrationS = results->penetrationS.value_or(row.penetrationS);
        row.heatFlowMWPerM2 = results->heatFlowMWPerM2;
        row.quality = results->quality;
    }
    return row;
}

} // namespace quorvane
