#pragma once

#include "datafile/DataFileContent.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

namespace quorvane::test {

// A data log file written by quorvane-probe-sim's file mode, and its records as read.
class SimulatedRun {
public:
    // A 30-minute run with the heater: 1 s records, 0.5 mK noise, heat time 600 s.
    static QStringList thirtyMinutes();
    // One lowering at 10 s records, two penetrations, each with its heat pulse; default probe.
    static QStringList twoPenetrations();

    SimulatedRun();
    bool ready() const { return m_dir.isValid() && !m_simulator.isEmpty(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Writes `name`; nullopt with the simulator's complaint in `error`.
    std::optional<DataFileContent> write(const QString& name, const QStringList& options,
                                         QString& error) const;
    static QString binDir() { return qEnvironmentVariable("QUORVANE_BIN_DIR"); }

private:
    QTemporaryDir m_dir;
    QString m_simulator;
};

} // namespace quorvane::test
