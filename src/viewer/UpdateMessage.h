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
};

} // namespace quorvane
