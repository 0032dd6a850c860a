#pragma once

#include "station/StationFile.h"

#include <QString>

namespace quorvane::station {

// The station file on disk. A file that cannot be read is reported and left alone: it is
// never replaced until the operator has moved it aside.
class StationFileStore {
public:
    enum class State {
        Missing, // no station file: the defaults, nothing entered
        Read,
        Refused, // the reason says why; the file stays untouched
    };
    struct Loaded {
        State state = State::Missing;
        StationFile file;
        QString reason;
    };

    // `path`: the station file's path (StationFile::pathFor the data log file).
    static Loaded load(const QString& path);
    // Writes whole or not at all. Refuses a file with a refused value, and refuses to replace
    // a file on disk that cannot be read; false with the reason.
    static bool save(const StationFile& file, const QString& path, QString& error);
    // Renames an unreadable station file to <path>.unreadable (…-2, -3 when taken), so that
    // the choices can be saved; false with the reason. `movedTo` gets the new name.
    static bool setAside(const QString& path, QString& movedTo, QString& error);
};

} // namespace quorvane::station
