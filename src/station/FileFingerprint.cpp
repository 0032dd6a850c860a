#include "station/FileFingerprint.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace quorvane::station {

namespace {
QString when(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'"));
}
} // namespace

bool FileFingerprint::of(const QString& path, FileFingerprint& into, QByteArray& content,
                         QString& error) {
    into = FileFingerprint{};
    content.clear();
    if (!QFileInfo::exists(path)) {
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    into = ofBytes(path, content);
    return true;
}

FileFingerprint FileFingerprint::ofBytes(const QString& path, const QByteArray& content) {
    FileFingerprint f;
    f.exists = true;
    f.size = content.size();
    f.modified = QFileInfo(path).lastModified();
    f.sha256 = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    return f;
}

QString FileFingerprint::changeTo(const FileFingerprint& now) const {
    if (exists && !now.exists) {
        return QStringLiteral("it was removed or renamed");
    }
    if (!exists && now.exists) {
        return QStringLiteral("another program made it (modified %1)").arg(when(now.modified));
    }
    if (!exists) {
        return {};
    }
    if (size != now.size) {
        return QStringLiteral("its size went from %1 to %2 bytes (modified %3)")
            .arg(size)
            .arg(now.size)
            .arg(when(now.modified));
    }
    if (sha256 != now.sha256) {
        return QStringLiteral("its content is not what was read (modified %1)")
            .arg(when(now.modified));
    }
    return {};
}

} // namespace quorvane::station
