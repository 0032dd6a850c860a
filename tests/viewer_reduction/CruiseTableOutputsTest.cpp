#include "SimulatedRun.h"
#include "logging/SystemClock.h"
#include "station/CruiseTable.h"
#include "station/CsvText.h"
#include "station/GhfdbExport.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/CruiseTableModel.h"
#include "viewer/reduction/CruiseTableWindow.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ReportExporter.h"
#include "viewer/reduction/StationOutputs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane::test {
namespace {

// The viewer showing a lowering with two penetrations, described as station HF-12 of SO-280.
class CruiseTableOutputsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = std::make_unique<SimulatedRun>();
        QString error;
        if (s_run->ready() &&
            (!s_run->write(QStringLiteral("two.log"), SimulatedRun::twoPenetrations(), error) ||
             !s_run->write(QStringLiteral("other.log"), {"--duration", "120"}, error))) {
            s_run.reset();
        }
    }
    static void TearDownTestSuite() { s_run.reset(); }

    void SetUp() override {
        if (!s_run) {
            GTEST_SKIP() << "quorvane-probe-sim not found through QUORVANE_BIN_DIR";
        }
        QFile::remove(dataPath() + QStringLiteral(".station.json"));
        m_window = std::make_unique<ViewerWindow>(m_clock);
        m_attachment = new ReductionAttachment(*m_window, m_settings.path());
        m_window->show();
        open(dataPath());
        station::StationDescription common;
        common.cruise = QStringLiteral("SO-280");
        common.station = QStringLiteral("HF-12");
        common.latitudeDeg = -23.5;
        common.longitudeDeg = 170.25;
        common.waterDepthM = 3512.5;
        QString error;
        ASSERT_TRUE(controller().setDescriptions({1, 2}, common, {}, error)) << error.toStdString();
    }
    void open(const QString& path) {
        m_window->openFile(path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !controller().pending(); }, 5000));
    }
    static QString dataPath() { return s_run->path(QStringLiteral("two.log")); }
    QString tablePath() const { return m_out.filePath(QStringLiteral("cruise.csv")); }
    ReductionController& controller() { return m_attachment->controller(); }
    StationOutputs& outputs() { return m_attachment->outputs(); }
    static bool aBoxIsOpen() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && qobject_cast<QDialog*>(w)) {
                return true;
            }
        }
        return false;
    }
    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static inline std::unique_ptr<SimulatedRun> s_run;
    SystemClock m_clock;
    QTemporaryDir m_settings;
    QTemporaryDir m_out;
    std::unique_ptr<ViewerWindow> m_window;
    ReductionAttachment* m_attachment = nullptr;
};

TEST_F(CruiseTableOutputsTest, AddsReplacesAndRefusesWithTheReasonInTheStatusBar) {
    ASSERT_EQ(controller().penetrations().size(), 2);
    ASSERT_EQ(controller().chosenIndex(), 2);
    const QString lock = m_out.filePath(QStringLiteral(".~lock.cruise.csv#"));
    const struct {
        const char* what;
        bool all;
        bool locked;
        bool changedMeanwhile;
        bool ok;
        const char* said;
    } steps[] = {
        {"the shown one", false, false, false, true,
         "Cruise table cruise.csv: 1 added (SO-280 HF-12 penetration 2)."},
        {"the same again", false, false, false, true,
         "Cruise table cruise.csv: 1 replaced (SO-280 HF-12 penetration 2)."},
        {"every one", true, false, false, true,
         "Cruise table cruise.csv: 1 added, 1 replaced (2 penetrations)."},
        {"open in a spreadsheet", true, true, false, false, "is open in another program"},
        {"changed under it", true, false, true, false, "the cruise table changed since it"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.locked) {
            QFile file(lock);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        } else {
            QFile::remove(lock);
        }
        outputs().setWriteProgress({});
        if (step.changedMeanwhile) {
            // Another program saves the table while the rows are being written.
            auto done = std::make_shared<bool>(false);
            outputs().setWriteProgress([this, done](qint64, qint64) {
                QFile file(tablePath());
                if (!*done && file.open(QIODevice::Append)) {
                    *done = true;
                    file.write("SO-280,HF-13,1\n");
                }
            });
        }
        const QByteArray before = bytes(tablePath());
        const auto outcome = outputs().addToCruiseTable(tablePath(), step.all);
        EXPECT_EQ(outcome.ok, step.ok) << outcome.reason.toStdString();
        EXPECT_TRUE(m_window->statusMessage().contains(QString::fromUtf8(step.said)))
            << m_window->statusMessage().toStdString();
        if (!step.ok) {
            EXPECT_TRUE(m_window->statusMessage().startsWith(
                QStringLiteral("Nothing was added to cruise.csv: ")));
            if (!step.changedMeanwhile) {
                EXPECT_EQ(bytes(tablePath()), before);
            }
        }
        EXPECT_FALSE(aBoxIsOpen());
    }
    QString error;
    const auto table = station::CruiseTable::read(tablePath(), error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_GE(table->rows().size(), 2);
    EXPECT_EQ(outputs().lastTable(), tablePath());
}

// The viewer's database export of the shown station: the database's columns, the JSON's
// numbers in its units (K/km, mW/m²).
TEST_F(CruiseTableOutputsTest, GhfdbCsvFromTheViewerHasTheJsonsValuesInItsUnits) {
    const QJsonObject json = controller().jsonFor(controller().chosenIndex());
    const QString path = m_out.filePath(QStringLiteral("hf12.ghfdb.csv"));
    QString error;
    QStringList warnings;
    ASSERT_TRUE(outputs().exportGhfdb(path, error, warnings)) << error.toStdString();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(' ').toStdString();
    const auto csv = station::CsvText::parse(bytes(path), error);
    ASSERT_TRUE(csv) << error.toStdString();
    ASSERT_EQ(csv->rows.size(), 2);
    const QStringList& head = csv->rows[0];
    EXPECT_EQ(head, station::GhfdbExport::columns());
    const auto cell = [&](const char* column) {
        return csv->rows[1].value(head.indexOf(QString::fromLatin1(column)));
    };
    const auto value = [&](const char* key) { return json.value(QLatin1String(key)).toDouble(); };
    const struct {
        const char* column;
        double expected;
        double tolerance;
    } numbers[] = {
        {"qc", value("heat_flow_mw_per_m2"), 0.005},
        {"qc_uncertainty", value("heat_flow_err_mw_per_m2"), 0.005},
        {"T_grad_mean", value("gradient_k_per_m") * 1000.0, 0.005},
        {"T_grad_uncertainty", value("gradient_err_k_per_m") * 1000.0, 0.005},
        {"tc_mean", value("mean_k_w_per_m_k"), 0.0005},
        {"water_temperature", value("bottom_water_c"), 0.00005},
        {"lat_NS", -23.5, 0.0},
        {"lon_EW", 170.25, 0.0},
        {"elevation", -3512.5, 0.0},
        {"T_number", 5, 0.0},
    };
    for (const auto& n : numbers) {
        bool ok = false;
        const double got = cell(n.column).toDouble(&ok);
        EXPECT_TRUE(ok) << n.column << " = " << cell(n.column).toStdString();
        EXPECT_NEAR(got, n.expected, n.tolerance) << n.column;
    }
    EXPECT_EQ(cell("name"), QStringLiteral("HF-12"));
    EXPECT_EQ(cell("expedition"), QStringLiteral("SO-280"));
    EXPECT_TRUE(m_window->statusMessage().contains(QStringLiteral("hf12.ghfdb.csv")));

    // The whole cruise table, as --export-ghfdb writes it; never over the table itself.
    ASSERT_TRUE(outputs().addToCruiseTable(tablePath(), true).ok);
    const QString all = m_out.filePath(QStringLiteral("cruise.ghfdb.csv"));
    ASSERT_TRUE(outputs().exportGhfdbTable(tablePath(), all, error, warnings))
        << error.toStdString();
    EXPECT_EQ(bytes(all).trimmed().count('\n'), 2);
    EXPECT_FALSE(outputs().exportGhfdbTable(tablePath(), tablePath(), error, warnings));
    EXPECT_TRUE(m_window->statusMessage().contains(QStringLiteral("would replace")));
}

TEST_F(CruiseTableOutputsTest, TheCruiseTableWindowOpensAStationsDataFileInTheViewer) {
    ASSERT_TRUE(outputs().addToCruiseTable(tablePath(), true).ok);
    open(s_run->path(QStringLiteral("other.log")));
    CruiseTableWindow* window = outputs().openCruiseTable(tablePath());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->model().rowCount(), 2);
    // The same table again is the same window.
    EXPECT_EQ(outputs().openCruiseTable(tablePath()), window);
    ASSERT_TRUE(window->openRow(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
    EXPECT_EQ(m_window->shownFile(), dataPath());
    if (!qEnvironmentVariableIsEmpty("QUORVANE_SCREENSHOT_DIR")) {
        window->resize(1100, 700);
        window->grab().save(qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR") +
                            QStringLiteral("/cruise-table-window.png"));
    }
}

// "Export report" writes every penetration of the file, a page each.
TEST_F(CruiseTableOutputsTest, TheReportHasAPagePerPenetrationOfTheFile) {
    const QString path = m_out.filePath(QStringLiteral("two.report.png"));
    QString error;
    ASSERT_TRUE(m_attachment->exportReport(path, error)) << error.toStdString();
    for (const QString& name :
         {QStringLiteral("two.report.png"), QStringLiteral("two.report-2.png")}) {
        EXPECT_EQ(QImage(m_out.filePath(name)).size(),
                  QSize(ReportExporter::kPageWidth, ReportExporter::kPageHeight))
            << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(m_out.filePath(QStringLiteral("two.report-3.png"))));
    if (!qEnvironmentVariableIsEmpty("QUORVANE_SCREENSHOT_DIR")) {
        QFile::copy(path, qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR") +
                              QStringLiteral("/report-from-the-viewer.png"));
    }
    EXPECT_EQ(m_window->statusMessage(),
              QStringLiteral("Report of 2 penetrations written to two.report.png … "
                             "two.report-2.png"));
    // The rows added after it name the report.
    ASSERT_TRUE(outputs().addToCruiseTable(tablePath(), false).ok);
    EXPECT_TRUE(bytes(tablePath()).contains(path.toUtf8()));
}

} // namespace
} // namespace quorvane::test
