#include "viewer/reduction/StationFileKeeper.h"

#include "analysis/batch/ChoicesOptions.h"
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
    if (!m_refusedReason.isEmpty()) {
        return false; // never over a file that could not be read; the panel says why
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
    // What was chosen meanwhile is kept now.
    if (!m_file.penetrations().isEmpty()) {
        save();
    }
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

analysis::ReductionOptions StationFileKeeper::optionsFor(const station::PenetrationKey& key) const {
    return analysis::ChoicesOptions::toOptions(m_file.choicesFor(key));
}

bool StationFileKeeper::setOptions(const station::PenetrationKey& key,
                                   const analysis::ReductionOptions& options) {
    m_file.setChoices(key, analysis::ChoicesOptions::toChoices(options, m_file.choicesFor(key)));
    // The reduction takes the choices as the file gives them back when it is opened again
    // (times to the millisecond), so that a reopened file gives the same numbers.
    QString ignored;
    if (auto reread = station::StationFile::fromJson(m_file.toJson(), ignored)) {
        m_file = *reread;
    }
    return save();
}

bool StationFileKeeper::hidden(const station::PenetrationKey& key, int sensor) const {
    const QStringList& names = station::StationChoices::sensorNames();
    return sensor >= 0 && sensor < names.size() &&
           m_file.choicesFor(key).hidden.contains(names[sensor]);
}

bool StationFileKeeper::setHidden(const station::PenetrationKey& key, int sensor, bool hide) {
    const QStringList& names = station::StationChoices::sensorNames();
    if (sensor < 0 || sensor >= names.size() || hide == hidden(key, sensor)) {
        return false;
    }
    station::StationChoices choices = m_file.choicesFor(key);
    if (hide) {
        choices.hidden << names[sensor];
    } else {
        choices.hidden.removeAll(names[sensor]);
    }
    // In the thermistors' order, whatever order they were hidden in.
    QStringList ordered;
    for (const QString& n : names) {
        if (choices.hidden.contains(n)) {
            ordered << n;
        }
    }
    choices.hidden = ordered;
    m_file.setChoices(key, choices);
    save();
    return true;
}

bool StationFileKeeper::setDescriptions(const station::PenetrationKey& key,
                                        const station::StationDescription& common,
                                        const station::StationDescription& own, QString& error) {
    for (const station::StationDescription* d : {&common, &own}) {
        error = d->problem();
        if (!error.isEmpty()) {
            return false;
        }
    }
    m_file.setCommon(common);
    m_file.setOwnDescription(key, own);
    if (!save()) {
        error = m_saveError;
        return false;
    }
    return true;
}

QString StationFileKeeper::problem(const QString& note) const {
    if (!m_refusedReason.isEmpty()) {
        return m_refusedReason + QStringLiteral(": it is left as it is, and choices are not kept "
                                                "until it is set aside");
    }
    if (!m_saveError.isEmpty()) {
        return QStringLiteral("Choices not saved: ") + m_saveError;
    }
    return note;
}

} // namespace quorvane
