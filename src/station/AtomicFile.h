#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace quorvane::station {

// Writes a file whole or not at all: the bytes go to an unnamed temporary file in the same
// folder, are synced, and replace the file by a rename. A process killed on the way leaves
// the old file as it was and no temporary beside it. The file's permissions are kept.
class AtomicFile {
public:
    // Called as the bytes go out (bytes written so far, all bytes).
    using Progress = std::function<void(qint64 written, qint64 total)>;
    // Called after the bytes are written, just before they replace the file: a non-empty
    // reason cancels the write, and the old file stays.
    using LastCheck = std::function<QString()>;

    static bool write(const QString& path, const QByteArray& bytes, QString& error,
                      const Progress& progress = {}, const LastCheck& lastCheck = {});
};

} // namespace quorvane::station
