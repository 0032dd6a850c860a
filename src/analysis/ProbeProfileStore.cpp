#include "analysis/ProbeProfileStore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace quorvane::analysis {

bool ProbeProfileStore::isPlainSerial(const QString& serial) {
    if (serial.isEmpty() || serial.size() > 64) {
        return false;
    }
    for (const QChar c : serial) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))) {
            return false;
        }
    }
    return true;
}

QString ProbeProfileStore::pathFor(const QString& serial) const {
    return m_folder + QStringLiteral("/probes/") + serial + QStringLiteral(".json");
}

std::optional<ProbeProfile> ProbeProfileStore::readFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return ProbeProfile::fromJson(file.readAll(), error);
}

ProbeProfile ProbeProfileStore::profileFor(const QString& serial, QString& note) const {
    if (!isPlainSerial(serial)) {
        note = QStringLiteral("no instrument serial to find a probe profile by");
        return ProbeProfile::defaultProfile();
    }
    const QString path = pathFor(serial);
    if (!QFile::exists(path)) {
        note = QStringLiteral("no probe profile for instrument %1").arg(serial);
        return ProbeProfile::defaultProfile();
    }
    QString error;
    auto profile = readFile(path, error);
    if (!profile) {
        note = error;
        return ProbeProfile::defaultProfile();
    }
    note.clear();
    return *profile;
}

bool ProbeProfileStore::save(const ProbeProfile& profile, QString& error) const {
    if (!isPlainSerial(profile.serial)) {
        error = QStringLiteral("a probe profile needs a serial of letters, digits, - or _");
        return false;
    }
    const QString why = profile.problem();
    if (!why.isEmpty()) {
        error = QStringLiteral("probe profile: ") + why;
        return false;
    }
    if (!QDir().mkpath(m_folder + QStringLiteral("/probes"))) {
        error = QStringLiteral("cannot make %1/probes").arg(m_folder);
        return false;
    }
    QSaveFile file(pathFor(profile.serial));
    if (!file.open(QIODevice::WriteOnly) || file.write(profile.toJson()) < 0 || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

} // namespace quorvane::analysis
