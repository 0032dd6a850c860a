#include "viewer/RecordAge.h"

#include "datafile/PlainNumbers.h"

#include <algorithm>

namespace quorvane {

RecordAge::Text RecordAge::describe(std::optional<qint64> seconds, std::optional<double> interval,
                                    bool runGoingOn) {
    Text out;
    if (!seconds) {
        out.text = "no record yet";
        return out;
    }
    if (*seconds < 0) {
        // A record stamped ahead of this computer's clock: one of the two clocks is wrong.
        out.text = "the last record is stamped " + std::to_string(-*seconds) +
                   " s ahead of this computer's clock";
        return out;
    }
    out.text = std::to_string(*seconds) + " s since the last record";
    if (interval && *interval > 0) {
        const bool whole = *interval == static_cast<double>(static_cast<qint64>(*interval));
        out.text += " (log interval " + formatFixed(*interval, whole ? 0 : 1) + " s)";
        out.late = runGoingOn && static_cast<double>(*seconds) > kLateIntervals * *interval;
    }
    if (out.late) {
        out.text += ": late";
    }
    return out;
}

bool RecordAge::stillWritten(std::optional<qint64> secondsSinceGrowth,
                             std::optional<double> logIntervalSeconds) {
    if (!secondsSinceGrowth) {
        return false;
    }
    const double interval = logIntervalSeconds.value_or(0.0);
    const double limit =
        std::max(static_cast<double>(kStoppedSeconds), kStoppedIntervals * interval);
    return static_cast<double>(*secondsSinceGrowth) <= limit;
}

} // namespace quorvane
