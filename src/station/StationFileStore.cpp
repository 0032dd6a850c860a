#include "station/StationFileStore.h"

#include "station/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

namespace quorvane::station {

StationFileStore::Loaded StationFileStore::load(const QString& path) {
    Loaded loaded;
    if (!QFileInfo::exists(path)) {
        return loaded;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.state = State::Refused;
        loaded.reason = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return loaded;
    }
    QString why;
    auto read = StationFile::fromJson(file.readAll(), why);
    if (!read) {
        loaded.state = State::Refused;
        loaded.reason = QStringLiteral("%1 cannot be used: %2").arg(path, why);
        return loaded;
    }
    loaded.state = State::Read;
    loaded.file = std::move(*read);
    return loaded;
}

bool StationFileStore::save(const StationFile& file, const QString& path, QString& error) {
    const QString why = file.problem();
    if (!why.isEmpty()) {
        error = why;
        return false;
    }
    const Loaded onDisk = load(path);
    if (onDisk.state == State::Refused) {
        error = onDisk.reason + QStringLiteral("; it is kept as it is: move it aside to save");
        return false;
    }
    return AtomicFile::write(path, file.toJson(), error);
}

bool StationFileStore::setAside(const QString& path, QString& movedTo, QString& error) {
    QString target = path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target = path + QStringLiteral(".unreadable-%1").arg(n);
    }
    if (!QFile::rename(path, target)) {
        error = QStringLiteral("cannot rename %1 to %2").arg(path, target);
        return false;
    }
    movedTo = target;
    return true;
}

} // namespace quorvane::station
