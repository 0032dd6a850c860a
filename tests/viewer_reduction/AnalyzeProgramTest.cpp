#include "SimulatedRun.h"
#include "analysis/batch/AnalyzeCommand.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <sstream>

namespace quorvane::test {
namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// quorvane-view as a user runs it, without a display, profiles looked up in `config`.
Outcome view(const QStringList& args, const QString& config, const QString& lang = {}) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    if (!lang.isEmpty()) {
        env.insert(QStringLiteral("LANG"), lang);
        env.insert(QStringLiteral("LC_ALL"), lang);
    }
    program.setProcessEnvironment(env);
    program.start(SimulatedRun::binDir() + QStringLiteral("/quorvane-view"), args);
    Outcome o;
    if (program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit) {
        o.status = program.exitCode();
    }
    o.out = program.readAllStandardOutput();
    o.err = program.readAllStandardError();
    return o;
}

TEST(AnalyzeProgramTest, ExitStatusesAndTheJsonOfTheBatchCommand) {
    SimulatedRun run;
    if (!run.ready()) {
        GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
    }
    QString error;
    const QString good = run.path(QStringLiteral("good.log"));
    ASSERT_TRUE(run.write(QStringLiteral("good.log"), SimulatedRun::thirtyMinutes(), error));
    QFile::copy(good, run.path(QStringLiteral("bad.log")));
    QFile bad(run.path(QStringLiteral("bad.log")));
    ASSERT_TRUE(bad.open(QIODevice::Append));
    bad.write("this is no record\r\n");
    bad.close();
    QFile empty(run.path(QStringLiteral("empty.log")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const QString config = run.path(QStringLiteral("config"));

    struct Case {
        const char* name;
        QStringList args;
        int status;
        const char* err; // in stderr
    };
    const std::vector<Case> cases = {
        {"good file", {"--analyze", good}, 0, ""},
        {"windows",
         {"--analyze", good, "--decay-window", "60,200", "--heating-window", "30,500"},
         0,
         ""},
        {"bad line", {"--analyze", run.path("bad.log")}, 1, ""},
        {"missing file", {"--analyze", run.path("none.log")}, 2, "cannot read"},
        {"no records", {"--analyze", run.path("empty.log")}, 2, ""},
        {"bad window", {"--analyze", good, "--decay-window", "sixty"}, 2, "decay-window"},
    };
    for (const Case& c : cases) {
        const Outcome o = view(c.args, config);
        EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(c.err)) << c.name << ": " << o.err.toStdString();
        if (c.status < 2) {
            // What the library's command prints, byte for byte.
            std::ostringstream out;
            std::ostringstream err;
            analysis::AnalyzeCommand(config + QStringLiteral("/Quorvane"))
                .run(QStringList{QStringLiteral("quorvane-view")} + c.args, out, err);
            EXPECT_EQ(o.out.toStdString(), out.str()) << c.name;
            EXPECT_FALSE(QJsonDocument::fromJson(o.out).object().isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(o.out.isEmpty()) << c.name;
        }
    }
    // Numbers never follow the locale.
    EXPECT_EQ(view({"--analyze", good}, config, QStringLiteral("de_DE.UTF-8")).out,
              view({"--analyze", good}, config).out);
}

TEST(AnalyzeProgramTest, HelpListsTheReductionsOptions) {
    const Outcome o = view({QStringLiteral("--help")}, QDir::tempPath());
    EXPECT_EQ(o.status, 0);
    for (const char* option :
         {"--analyze FILE", "--probe PROFILE", "--penetration ISO-UTC", "--decay-window A,B",
          "--heating-window A,B", "--stations", "--station N", "--pulse-window A,B",
          "--calibrate-bottom-water", "--conductivity K", "--ignore-station-file",
          "--add-to-table CRUISE.csv", "--export-ghfdb CRUISE.csv OUT.csv"}) {
        EXPECT_TRUE(o.out.contains(option)) << option;
    }
}

} // namespace
} // namespace quorvane::test
