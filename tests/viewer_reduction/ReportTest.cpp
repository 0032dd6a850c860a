#include "SimulatedRun.h"
#include "analysis/batch/DataFileRecords.h"
#include "analysis/batch/FileStations.h"
#include "viewer/reduction/FitCurves.h"
#include "viewer/reduction/ReportExporter.h"
#include "viewer/reduction/ReportText.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

// Two penetrations of one lowering at 10 s records, each with its heat pulse.
class ReportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = std::make_unique<SimulatedRun>();
        if (!s_run->ready()) {
            return;
        }
        QString error;
        auto content =
            s_run->write(QStringLiteral("two.log"), SimulatedRun::twoPenetrations(), error);
        ASSERT_TRUE(content) << error.toStdString();
        const QString path = s_run->path(QStringLiteral("two.log"));
        analysis::ProbeProfile profile = analysis::ProbeProfile::defaultProfile();
        QStringList notes;
        const auto run = std::make_shared<const analysis::StationRecords>(
            analysis::DataFileRecords::station(*content, path, notes));
        for (auto& reduced :
             analysis::FileStations::reduce(*content, path, std::nullopt, profile, {})) {
            StationSnapshot snapshot;
            snapshot.results = reduced.results;
            snapshot.description.station = QStringLiteral("HF-%1").arg(reduced.station.index);
            snapshot.records =
                std::make_shared<const analysis::StationRecords>(reduced.station.records);
            snapshot.run = run;
            const auto& t = reduced.station.records.timeS();
            snapshot.spanS = std::pair{t.front(), t.back()};
            s_stations << snapshot;
        }
    }
    static void TearDownTestSuite() {
        s_stations.clear();
        s_run.reset();
    }
    void SetUp() override {
        if (s_stations.isEmpty()) {
            GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
        }
    }
    static QString dataPath() { return s_run->path(QStringLiteral("two.log")); }
    static ReportExporter exporter() {
        return ReportExporter({dataPath(), QStringLiteral("the default"), s_stations});
    }

    static inline std::unique_ptr<SimulatedRun> s_run;
    static inline QList<StationSnapshot> s_stations;
};

TEST_F(ReportTest, APngPagePerPenetration) {
    ASSERT_EQ(s_stations.size(), 2);
    const QString path = s_run->path(QStringLiteral("report.png"));
    QString error;
    ASSERT_TRUE(exporter().writeReport(path, error)) << error.toStdString();
    const QStringList pages = exporter().pngPaths(path);
    EXPECT_EQ(pages, (QStringList{path, s_run->path(QStringLiteral("report-2.png"))}));
    for (const QString& page : pages) {
        const QImage image(page);
        EXPECT_EQ(image.size(), QSize(ReportExporter::kPageWidth, ReportExporter::kPageHeight))
            << page.toStdString();
    }
    EXPECT_FALSE(QFile::exists(s_run->path(QStringLiteral("report-3.png"))));
    if (!qEnvironmentVariableIsEmpty("QUORVANE_SCREENSHOT_DIR")) {
        QFile::copy(pages.back(), qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR") +
                                      QStringLiteral("/report-page-2.png"));
    }
}

// The PDF's words, as a reader gets them: a page per penetration, each naming the version,
// the data file's SHA-256, its run and penetration and the windows the fits used.
TEST_F(ReportTest, ThePdfNamesWhatARedoNeeds) {
    const QString path = s_run->path(QStringLiteral("report.pdf"));
    QString error;
    ASSERT_TRUE(exporter().writeReport(path, error)) << error.toStdString();
    QFile data(dataPath());
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(data.readAll(), QCryptographicHash::Sha256).toHex());

    QStringList pages;
    for (int page = 1; page <= 3; ++page) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                    QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
        if (!text.waitForFinished(20000)) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not at hand";
        }
        if (text.exitCode() != 0) {
            break; // no such page
        }
        pages << QString::fromUtf8(text.readAllStandardOutput())
                     .normalized(QString::NormalizationForm_KC)
                     .simplified();
    }
    ASSERT_EQ(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QString& words = pages[i];
        const ReportText text(s_stations[i], {});
        EXPECT_TRUE(
            words.contains(QStringLiteral("Quorvane Viewer ") + ReportExporter::programVersion()));
        EXPECT_TRUE(words.contains(QStringLiteral("two.log · SHA-256 ") + sha));
        EXPECT_TRUE(words.contains(QStringLiteral("Run 1, penetration %1").arg(i + 1)));
        EXPECT_TRUE(words.contains(QStringLiteral("page %1 of 2").arg(i + 1)));
        EXPECT_TRUE(words.contains(QStringLiteral("HF-%1").arg(i + 1)));
        ASSERT_FALSE(text.windows().isEmpty());
        for (const QString& window : text.windows()) {
            EXPECT_TRUE(words.contains(window.simplified())) << window.toStdString();
        }
        EXPECT_TRUE(text.windows().front().startsWith(QStringLiteral("Decay fit: ")));
        for (const QString& flag : text.flags()) {
            EXPECT_TRUE(words.contains(flag.simplified())) << flag.toStdString();
        }
    }
}

// A pulse's k comes from the pulse fit: that fit is drawn, over the window it used, with
// the pulse's axis.
TEST_F(ReportTest, TheFitThatGaveKIsDrawn) {
    for (const StationSnapshot& station : s_stations) {
        for (std::size_t i = 0; i < station.results.sensors.size(); ++i) {
            const analysis::SensorResult& s = station.results.sensors[i];
            SCOPED_TRACE(s.name.toStdString());
            ASSERT_EQ(s.kMethod, QStringLiteral("pulse-F"));
            const FitCurves curves = FitCurves::heating(*station.records, station.results, i);
            EXPECT_EQ(curves.xLabel, QStringLiteral("t − t_h  [s]"));
            ASSERT_FALSE(curves.line.x.isEmpty());
            EXPECT_EQ(curves.inWindow.x.size(), s.kWindow->records);
            const double middle = (*station.results.heater.onS + *station.results.heater.offS) / 2;
            EXPECT_NEAR(curves.line.x.front(), s.kWindow->fromS - middle, 1e-9);
            EXPECT_NEAR(curves.line.x.back(), s.kWindow->toS - middle, 1e-9);
        }
    }
}

} // namespace
} // namespace quorvane::test

namespace quorvane::test {
namespace {

TEST(ReportTextTest, NumbersAsTheJsonWritesThemWithoutExponentsGermanLocale) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {4.1234, "4.1234"}, {0.0008, "0.0008"}, {8.1e-05, "0.000081"}, {-0.0012, "-0.0012"},
        {100.97, "100.97"}, {0.0, "0"},         {-0.0, "0"},           {std::nan(""), "\u2014"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportText::number(c.value), QString::fromUtf8(c.text)) << c.value;
    }
}

} // namespace
} // namespace quorvane::test
