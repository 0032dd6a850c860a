#include "viewer/reduction/StationFileKeeper.h"

#include "station/StationFileStore.h"

namespace quorvane {

void StationFileKeeper::load(const QString& dataFilePath) {
    m_file = {};
    m_refusedReason.clear();
    m_saveError.clear();
    m_onDisk = false;
    m_path = dataFilePath.isEmpty() ? QString() : station::StationFile::pathFor(dataFilePath);
    if (m_path.isEmpty()) {
        return;
    }
    const auto loaded = station::StationFileStore::load(m_path);
    switch (loaded.state) {
    case station::StationFileStore::State::Missing:
        break;
    case station::StationFileStore::State::Read:
        m_file = loaded.file;
        m_onDisk = true;
        break;
    case station::StationFileStore::State::Refused:
        m_refusedReason = loaded.reason;
        m_onDisk = true;
        break;
    }
}

bool StationFileKeeper::save() {
    if (m_path.isEmpty()) {
        m_saveError = QStringLiteral("no data log file is shown");
        return false;
    }
    QString error;
    if (!station::StationFileStore::save(m_file, m_path, error)) {
        m_saveError = error;
        return false;
    }
    m_saveError.clear();
    m_refusedReason.clear();
    m_onDisk = true;
    return true;
}

bool StationFileKeeper::setAside(QString& movedTo, QString& error) {
    if (m_path.isEmpty() || m_refusedReason.isEmpty()) {
        error = QStringLiteral("the station file can be read: there is nothing to set aside");
        return false;
    }
    if (!station::StationFileStore::setAside(m_path, movedTo, error)) {
        return false;
    }
    m_refusedReason.clear();
    m_saveError.clear();
    m_onDisk = false;
    return true;
}

bool StationFileKeeper::dropChoices() {
    bool dropped = false;
    for (const station::PenetrationKey& key : m_file.penetrations()) {
        if (!m_file.choicesFor(key).isDefault()) {
            m_file.setChoices(key, {});
            dropped = true;
        }
    }
    if (dropped && m_refusedReason.isEmpty()) {
        save();
    }
    return dropped;
}

} // namespace quorvane
