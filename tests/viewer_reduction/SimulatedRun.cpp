#include "SimulatedRun.h"

#include "datafile/DataFileReader.h"

#include <QFileInfo>
#include <QProcess>

namespace quorvane::test {

QStringList SimulatedRun::thirtyMinutes() {
    return {QStringLiteral("--duration"), QStringLiteral("1800"),   QStringLiteral("--noise"),
            QStringLiteral("0.0005"),     QStringLiteral("--seed"), QStringLiteral("7"),
            QStringLiteral("--friction"), QStringLiteral("30"),     QStringLiteral("--serial"),
            QStringLiteral("0417")};
}

QStringList SimulatedRun::twoPenetrations() {
    return {"--interval", "10",   "--heat-time",  "20",       "--heat-level",   "120",
            "--gradient", "0.1",  "--friction",   "40",       "--noise",        "0.001",
            "--seed",     "11",   "--duration",   "3700",     "--penetration",  "50,1900",
            "--pull-out", "1750", "--heat-delay", "470,2320", "--conductivity", "1.0"};
}

SimulatedRun::SimulatedRun() {
    const QString simulator = binDir() + QStringLiteral("/quorvane-probe-sim");
    if (!binDir().isEmpty() && QFileInfo(simulator).isExecutable()) {
        m_simulator = simulator;
    }
}

std::optional<DataFileContent> SimulatedRun::write(const QString& name, const QStringList& options,
                                                   QString& error) const {
    QProcess sim;
    sim.start(m_simulator, QStringList{QStringLiteral("--write-file"), path(name)} + options);
    if (!sim.waitForFinished(60000) || sim.exitStatus() != QProcess::NormalExit ||
        sim.exitCode() != 0) {
        error = QString::fromUtf8(sim.readAllStandardError());
        return std::nullopt;
    }
    std::string why;
    auto content = DataFileReader::readFile(path(name).toStdString(), &why);
    if (!content) {
        error = QString::fromStdString(why);
    }
    return content;
}

} // namespace quorvane::test
