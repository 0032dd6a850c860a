#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quorvane::analysis::test {

// Data log files written by quorvane-probe-sim's file mode, with its true values, and the
// batch reduction of them.
class SimulatedFiles {
public:
    SimulatedFiles();

    bool ready() const { return m_dir.isValid() && !m_simulator.isEmpty(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Writes `name` and its truth; false with the simulator's complaint in `error`.
    bool write(const QString& name, const QStringList& options, QJsonObject& truth,
               QString& error) const;
    // Runs AnalyzeCommand on the file; returns its exit status, the JSON in `results`.
    static int analyze(const QStringList& args, QJsonObject& results, std::string& err);

private:
    QTemporaryDir m_dir;
    QString m_simulator;
};

} // namespace quorvane::analysis::test
