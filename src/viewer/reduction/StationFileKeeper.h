#pragma once

#include "station/StationFile.h"

#include <QString>

namespace quorvane {

// The station file of the shown data log file: read when the file is shown, written whole
// after every change. One that cannot be read is never written over: the reason is kept for
// the panel until the operator sets it aside.
class StationFileKeeper {
public:
    // Reads <dataFile>.station.json; none gives an empty one. An empty path keeps nothing.
    void load(const QString& dataFilePath);
    // Writes the file; false with the reason in saveError().
    bool save();
    // Renames an unreadable file aside, so that the next save writes a new one.
    bool setAside(QString& movedTo, QString& error);
    // The shown file was written anew: the choices kept were for the records before. The
    // descriptions stay; the file is written at once. True when there were any.
    bool dropChoices();

    station::StationFile& file() { return m_file; }
    const station::StationFile& file() const { return m_file; }
    const QString& path() const { return m_path; }
    // The file on disk holds what the choices come from (read, or written since).
    bool inUse() const { return m_onDisk && m_refusedReason.isEmpty(); }
    // Why the file on disk cannot be read; empty when it can or there is none.
    const QString& refusedReason() const { return m_refusedReason; }
    // Why the last save failed; empty when it did not.
    const QString& saveError() const { return m_saveError; }

private:
    station::StationFile m_file;
    QString m_path;
    QString m_refusedReason;
    QString m_saveError;
    bool m_onDisk = false;
};

} // namespace quorvane
