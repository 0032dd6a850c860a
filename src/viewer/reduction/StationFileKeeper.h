#pragma once

#include "analysis/ReductionOptions.h"
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
    // Renames an unreadable file aside and writes what was chosen meanwhile.
    bool setAside(QString& movedTo, QString& error);
    // The shown file was written anew: the choices kept were for the records before. The
    // descriptions stay; the file is written at once. True when there were any.
    bool dropChoices();

    // The operator's choices for a penetration, as the reduction takes them.
    analysis::ReductionOptions optionsFor(const station::PenetrationKey& key) const;
    // Keeps them and writes the file; false when it could not be written.
    bool setOptions(const station::PenetrationKey& key, const analysis::ReductionOptions& options);
    // Thermistors hidden in the plot (by their place, top first).
    bool hidden(const station::PenetrationKey& key, int sensor) const;
    bool setHidden(const station::PenetrationKey& key, int sensor, bool hide);
    // The description of all penetrations and the penetration's own; false with the reason
    // when a value is refused or the file cannot be written.
    bool setDescriptions(const station::PenetrationKey& key,
                         const station::StationDescription& common,
                         const station::StationDescription& own, QString& error);
    // What the panel says about the file: why it cannot be read or written, else `note`.
    QString problem(const QString& note) const;

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
