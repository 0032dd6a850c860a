#pragma once

#include <compare>

namespace quorvane::station {

// One penetration in a data log file: the run (header block) and the penetration within it,
// both counted from 1, as the results JSON's "run" and "penetration" give them.
struct PenetrationKey {
    int run = 1;
    int penetration = 1;

    auto operator<=>(const PenetrationKey&) const = default;
};

} // namespace quorvane::station
