#include "analysis/Stations.h"

namespace quorvane::analysis {

std::vector<Station> Stations::of(const std::vector<StationRecords>& runs, double thresholdK) {
    std::vector<Station> out;
    int index = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (runs[r].empty()) {
            continue;
        }
        int penetration = 0;
        for (const auto& span : PenetrationSplitter::split(runs[r], thresholdK)) {
            Station s;
            s.run = static_cast<int>(r) + 1;
            s.penetration = ++penetration;
            s.index = ++index;
            s.span = span;
            s.records = PenetrationSplitter::slice(runs[r], span);
            out.push_back(std::move(s));
        }
    }
    return out;
}

} // namespace quorvane::analysis
