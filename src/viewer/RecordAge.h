#pragma once

#include <QtGlobal>
#include <optional>
#include <string>

namespace quorvane {

// The status bar's word on how old the newest record is, against the log interval.
class RecordAge {
public:
    struct Text {
        std::string text;
        bool late = false;
    };
    // Late when more than this many log intervals passed during a run.
    static constexpr int kLateIntervals = 3;

    static Text describe(std::optional<qint64> secondsSinceLastRecord,
                         std::optional<double> logIntervalSeconds, bool runGoingOn);

    // A file opened by hand counts as being written until it has not grown for this many log
    // intervals, and at least this long.
    static constexpr int kStoppedIntervals = 30;
    static constexpr qint64 kStoppedSeconds = 300;
    static bool stillWritten(std::optional<qint64> secondsSinceGrowth,
                             std::optional<double> logIntervalSeconds);
};

} // namespace quorvane
