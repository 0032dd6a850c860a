#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace quorvane::station {

// What a file was when it was read: whether it was there, its size, its modification time
// and a hash of its content. Tells whether another program changed it since.
struct FileFingerprint {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    QByteArray sha256;

    // Reads the file; `content` gets its bytes. Not there: exists false. False with the
    // reason when it is there but cannot be read.
    static bool of(const QString& path, FileFingerprint& into, QByteArray& content, QString& error);
    static FileFingerprint ofBytes(const QString& path, const QByteArray& content);

    // How the file changed from this to `now`, in words; empty when its content is the
    // same (a new modification time alone is no change).
    QString changeTo(const FileFingerprint& now) const;
};

} // namespace quorvane::station
