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
};

} // namespace quorvane
