#include "analysis/batch/AnalyzeCommand.h"
#include "SyntheticStation.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace quorvane::analysis {
namespace {

// The program's Temperature layout: header block, then "dd-Mon-yyyy hh:mm:ss  T T T T T H".
QByteArray logFile(const StationRecords& r, const QByteArray& extraLine = {}) {
    QByteArray text = "# Instrument: 0417\r\n# DataType: Temperature\r\n# LogInterval: 1\r\n"
                      "# Date        Time     TTop    T2     T3     T4    TBot Htr\r\n";
    for (std::size_t i = 0; i < r.size(); ++i) {
        const QDateTime when =
            QDateTime::fromSecsSinceEpoch(static_cast<qint64>(r.timeS()[i]), Qt::UTC);
        text += QLocale::c().toString(when, "dd-MMM-yyyy hh:mm:ss").toLatin1() + " ";
        for (std::size_t s = 0; s < 5; ++s) {
            char value[32];
            std::snprintf(value, sizeof value, " %.3f", r.temperatureC(s)[i]);
            text += value;
        }
        text += " " + QByteArray::number(r.heater()[i]) + "\r\n";
        if (i == 5 && !extraLine.isEmpty()) {
            text += extraLine + "\r\n";
        }
    }
    return text;
}

class AnalyzeCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    int run(const QStringList& args, const QString& settings = {}) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = AnalyzeCommand(settings).run(args, out, err);
        m_out = out.str();
        m_err = err.str();
        m_json = QJsonDocument::fromJson(QByteArray::fromStdString(m_out)).object();
        return status;
    }
    QStringList flags() const {
        QStringList list;
        for (const auto& f : m_json["flags"].toArray()) {
            list << f.toString();
        }
        return list;
    }

    QTemporaryDir m_dir;
    std::string m_out;
    std::string m_err;
    QJsonObject m_json;
};

TEST_F(AnalyzeCommandTest, ExitStatusAndWhereTheReasonGoes) {
    const StationRecords station = test::SyntheticStation().make();
    const QString good = write("good.log", logFile(station));
    const QString badLine = write("bad.log", logFile(station, "08-Dec-2026 13:00:0x  4.0 0"));
    const QString headerOnly = write("header.log", "# Instrument: 0417\r\n# LogInterval: 1\r\n");
    const QString profile = write("short.json", R"({"serial": "0417", "sensor_depths_m": [0, 1],
        "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "tilt_deg": 0})");
    struct Case {
        QStringList args;
        int status;
        const char* err; // start of the message on err, "" for none
        bool json;
    };
    const Case cases[] = {
        {{"--analyze", good}, 0, "", true},
        {{"quorvane-view", "--analyze", good}, 0, "", true},
        {{"--analyze", good, "--decay-window", "100,300", "--heating-window", "60,500"},
         0,
         "",
         true},
        {{"--analyze", good, "--penetration", "2026-12-08T13:00:59.5Z"}, 0, "", true},
        {{"--analyze", badLine}, 1, "", true},
        // A profile named on the command line is used or nothing is.
        {{"--analyze", good, "--probe", profile},
         2,
         "--probe: probe profile: \"sensor_depths_m\"",
         false},
        {{"--analyze", good, "--probe", m_dir.filePath("typo.json")},
         2,
         "--probe: cannot read",
         false},
        {{"--analyze", m_dir.filePath("none.log")}, 2, "cannot read", false},
        {{"--analyze", headerOnly}, 2, "", false},
        {{"--analyze"}, 2, "--analyze needs a value", false},
        {{"--probe", profile}, 2, "--analyze needs a data log file", false},
        {{"--analyze", good, "--penetration", "noon"}, 2, "--penetration needs", false},
        {{"--analyze", good, "--decay-window", "100"}, 2, "--decay-window needs", false},
        {{"--analyze", good, "--heating-window", "a,b"}, 2, "--heating-window needs", false},
        {{"--analyze", good, "--frobnicate", "1"}, 2, "unknown option --frobnicate", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(run(c.args), c.status) << m_err;
        EXPECT_EQ(m_err.rfind(c.err, 0), 0u) << m_err;
        EXPECT_EQ(!m_out.empty(), c.json);
        if (c.status == 2) {
            EXPECT_FALSE(m_err.empty());
        }
    }
    run({"--analyze", headerOnly});
    EXPECT_NE(m_err.find("holds no records"), std::string::npos) << m_err;
}

// A file is a data log file when a line of it is a header line or a record: a line starting
// with '#' is not enough.
TEST_F(AnalyzeCommandTest, FilesThatAreNoDataLogFiles) {
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"script.sh", "#!/bin/sh\necho hello\n"},
        {"notes.md", "# Notes\r\n\r\nThe probe went in at 13:00.\r\n"},
        {"binary.bin", QByteArray("\x7f"
                                  "ELF\x02\x01\0\n#\xff\xfe\0\n",
                                  13)},
        {"empty.log", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = write(c.name, c.bytes);
        EXPECT_EQ(run({"--analyze", file}), 2);
        EXPECT_NE(m_err.find("is not a data log file"), std::string::npos) << m_err;
        EXPECT_TRUE(m_out.empty());
    }
}

TEST_F(AnalyzeCommandTest, ResultsNameTheFileTheBadLinesAndTheProfile) {
    const QString file = write("bad.log", logFile(test::SyntheticStation().make(), "garbage"));
    ASSERT_EQ(run({"--analyze", file}), 1);
    EXPECT_EQ(m_json["file"].toString(), "bad.log");
    EXPECT_EQ(m_json["records"].toInt(), 1800);
    EXPECT_EQ(m_json["bad_lines"].toInt(), 1);
    EXPECT_TRUE(flags().contains("default probe profile"));
    EXPECT_NEAR(m_json["heat_flow_mw_per_m2"].toDouble(), 60.0, 1.0);
}

TEST_F(AnalyzeCommandTest, TheInstrumentsProfileIsFoundInTheSettingsFolder) {
    const QString file = write("run.log", logFile(test::SyntheticStation().make()));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("config/probes"));
    write("config/probes/0417.json", R"({"serial": "0417", "sensor_depths_m": [0, 0.5, 1, 1.5, 2],
        "heater_w_per_m_per_level": 0.25, "radius_m": 0.001, "tilt_deg": 0})");
    ASSERT_EQ(run({"--analyze", file}, m_dir.filePath("config")), 0);
    EXPECT_TRUE(flags().isEmpty()) << flags().join("; ").toStdString();
    ASSERT_EQ(run({"--analyze", file}, m_dir.filePath("elsewhere")), 0);
    EXPECT_TRUE(flags().contains("no probe profile for instrument 0417"));
    EXPECT_TRUE(flags().contains("default probe profile"));
}

} // namespace
} // namespace quorvane::analysis
