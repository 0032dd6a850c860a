#include "station/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane::station {

namespace {
constexpr qint64 kChunk = 256 * 1024;

// The rename is in the folder's entries: sync them too, or a power cut may undo it.
void syncFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

bool AtomicFile::write(const QString& path, const QByteArray& bytes, QString& error,
                       const Progress& progress, const LastCheck& lastCheck) {
    // QSaveFile writes to an O_TMPFILE in the folder where the file system has them, keeps
    // the old file's permissions, syncs, and renames over the file on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    const qint64 total = bytes.size();
    for (qint64 at = 0; at < total; at += kChunk) {
        const qint64 n = std::min(kChunk, total - at);
        if (file.write(bytes.constData() + at, n) != n) {
            error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            file.cancelWriting();
            return false;
        }
        if (progress) {
            progress(at + n, total);
        }
    }
    if (lastCheck) {
        const QString why = lastCheck();
        if (!why.isEmpty()) {
            error = why;
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    syncFolder(path);
    return true;
}

} // namespace quorvane::station
