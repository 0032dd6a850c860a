#pragma once

#include "analysis/ReductionOptions.h"
#include "station/StationChoices.h"

namespace quorvane::analysis {

// The operator's choices as the station file keeps them, and as the reduction takes them.
class ChoicesOptions {
public:
    static ReductionOptions toOptions(const station::StationChoices& choices,
                                      ReductionOptions base = {});
    // `hidden` and keys this program does not know are taken from `keep`.
    static station::StationChoices toChoices(const ReductionOptions& options,
                                             const station::StationChoices& keep = {});
};

} // namespace quorvane::analysis
