#include "SimulatedRun.h"
#include "station/CruiseColumns.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

using station::CruiseColumns;

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// quorvane-view as a user runs it, without a display.
Outcome view(const QStringList& args) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    program.setProcessEnvironment(env);
    program.start(SimulatedRun::binDir() + QStringLiteral("/quorvane-view"), args);
    Outcome o;
    if (program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit) {
        o.status = program.exitCode();
    }
    o.out = program.readAllStandardOutput();
    o.err = program.readAllStandardError();
    return o;
}

// A cruise table of one row whose heat flow cell reads `heatFlow`.
QByteArray table(const QString& heatFlow) {
    QStringList cells;
    for (const QString& column : CruiseColumns::all()) {
        if (column == CruiseColumns::cruise) {
            cells << QStringLiteral("SO-280");
        } else if (column == CruiseColumns::station) {
            cells << QStringLiteral("HF-12");
        } else if (column == CruiseColumns::penetration) {
            cells << QStringLiteral("2");
        } else if (column == CruiseColumns::heatFlow) {
            cells << heatFlow;
        } else if (column == CruiseColumns::gradient) {
            cells << QStringLiteral("64.1");
        } else {
            cells << QString();
        }
    }
    return (CruiseColumns::all().join(QLatin1Char(',')) + QLatin1Char('\n') +
            cells.join(QLatin1Char(',')) + QLatin1Char('\n'))
        .toUtf8();
}

TEST(GhfdbProgramTest, ExportGhfdbExitStatuses) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString good = write(QStringLiteral("good.csv"), table(QStringLiteral("67.4")));
    // A decimal comma a spreadsheet left in a number cell.
    const QString comma = write(QStringLiteral("comma.csv"), table(QStringLiteral("\"67,4\"")));
    const QString empty = write(QStringLiteral("empty.csv"), table({}).split('\n').front() + '\n');
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const struct {
        QStringList args;
        int status;
        const char* said; // on stdout for 0, else on stderr
    } cases[] = {
        {{QStringLiteral("--export-ghfdb"), good, out}, 0, "1 row written to"},
        {{QStringLiteral("--export-ghfdb"), comma, out + QStringLiteral(".2")}, 1, "67,4"},
        {{QStringLiteral("--export-ghfdb"), empty, out}, 2, "holds no stations"},
        {{QStringLiteral("--export-ghfdb"), dir.filePath(QStringLiteral("none.csv")), out},
         2,
         "none.csv"},
        {{QStringLiteral("--export-ghfdb"), good, good}, 2, "would replace the cruise table"},
        {{QStringLiteral("--export-ghfdb"), good}, 2, "usage: quorvane-view --export-ghfdb"},
    };
    for (const auto& c : cases) {
        const Outcome o = view(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(o.status, c.status) << what << "\n" << o.err.toStdString();
        EXPECT_TRUE((c.status == 0 ? o.out : o.err).contains(c.said))
            << what << "\n"
            << o.out.toStdString() << o.err.toStdString();
    }
    // The good table's row, with the database's column names and its units.
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("name,lat_NS,lon_EW,elevation,qc,qc_uncertainty,q_method"));
    EXPECT_TRUE(lines[1].startsWith("HF-12,,,,67.4,,Interval method")) << lines[1].toStdString();
}

} // namespace
} // namespace quorvane::test
