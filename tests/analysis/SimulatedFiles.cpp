#include "SimulatedFiles.h"

#include "analysis/batch/AnalyzeCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>

#include <sstream>

namespace quorvane::analysis::test {

SimulatedFiles::SimulatedFiles() {
    const QString bin = qEnvironmentVariable("QUORVANE_BIN_DIR");
    const QString simulator = bin + QStringLiteral("/quorvane-probe-sim");
    if (!bin.isEmpty() && QFileInfo(simulator).isExecutable()) {
        m_simulator = simulator;
    }
}

bool SimulatedFiles::write(const QString& name, const QStringList& options, QJsonObject& truth,
                           QString& error) const {
    const QString truthPath = path(name + QStringLiteral(".truth.json"));
    QProcess sim;
    sim.start(m_simulator, QStringList{QStringLiteral("--write-file"), path(name),
                                       QStringLiteral("--truth"), truthPath} +
                               options);
    if (!sim.waitForFinished(60000) || sim.exitStatus() != QProcess::NormalExit ||
        sim.exitCode() != 0) {
        error = QString::fromUtf8(sim.readAllStandardError());
        return false;
    }
    QFile file(truthPath);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("no truth file");
        return false;
    }
    truth = QJsonDocument::fromJson(file.readAll()).object();
    return true;
}

int SimulatedFiles::analyze(const QStringList& args, QJsonObject& results, std::string& err) {
    std::ostringstream out;
    std::ostringstream errors;
    const int status = AnalyzeCommand().run(args, out, errors);
    results = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    err = errors.str();
    return status;
}

} // namespace quorvane::analysis::test
