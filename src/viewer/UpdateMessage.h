#pragma once

#include "viewer/FollowUpdate.h"

#include <QString>

namespace quorvane {

// What the status bar says after one update of the shown file.
class UpdateMessage {
public:
    struct Said {
        QString text;
        bool problem = false;
    };
    struct Shown {
        QString path;         // the file as opened
        qint64 records = 0;   // records shown
        bool headers = false; // a header block was read
        QString lastBadLine;  // "line N: reason", the newest bad line
    };

    static Said describe(const FollowUpdate& update, const Shown& shown);
    // A file with lines of which none is a header line or a record.
    static bool notDataLog(const FollowUpdate& update) {
        return !update.dataLogFile && update.lineCount > 0 && update.problem.empty();
    }
    static constexpr const char* kNotDataLog = "not a data log file";
};

} // namespace quorvane
