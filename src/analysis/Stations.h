#pragma once

#include "analysis/PenetrationSplitter.h"
#include "analysis/StationRecords.h"

#include <vector>

namespace quorvane::analysis {

// Every penetration of a file, in order: the runs (header blocks) split at their pull-outs.
struct Station {
    int run = 0;                    // from 1
    int penetration = 0;            // within its run, from 1
    int index = 0;                  // within the file, from 1
    PenetrationSplitter::Span span; // records of its run
    StationRecords records;
};

class Stations {
public:
    static std::vector<Station> of(const std::vector<StationRecords>& runs,
                                   double thresholdK = PenetrationSplitter::kThresholdK);
};

} // namespace quorvane::analysis
