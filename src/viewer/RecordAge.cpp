#include "viewer/RecordAge.h"

#include "datafile/PlainNumbers.h"

namespace quorvane {

RecordAge::Text RecordAge::describe(std::optional<qint64> seconds, std::optional<double> interval,
                                    bool runGoingOn) {
    Text out;
    if (!seconds) {
        out.text = "no record yet";
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

} // namespace quorvane
