#include "ReductionFixture.h"
#include "logging/SystemClock.h"
#include "viewer/ReductionAttachment.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/FitMarkers.h"
#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/ReductionPanel.h"
#include "viewer/reduction/ReportExporter.h"
#include "viewer/reduction/ReportText.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <qcustomplot.h>

namespace quorvane::test {
namespace {

using Handle = FitMarkers::Handle;

// The viewer showing the simulated run, with the reduction attached; profiles looked up in
// a folder of the test's own.
class ViewerReductionTest : public ReductionFixture {
protected:
    void SetUp() override {
        ReductionFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        m_window = std::make_unique<ViewerWindow>(m_clock);
        m_attachment = new ReductionAttachment(*m_window, m_settings.path());
        m_window->resize(1400, 900);
        m_window->show();
    }
    void open() {
        m_window->openFile(filePath());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !controller().pending(); }, 5000));
        QCustomPlot& plot = m_window->plot().customPlot();
        plot.replot();
    }
    ReductionController& controller() { return m_attachment->controller(); }
    void mouse(QEvent::Type type, double key, Qt::MouseButtons buttons) {
        QCustomPlot& plot = m_window->plot().customPlot();
        const QPointF at(plot.xAxis->coordToPixel(key), plot.axisRect()->center().y());
        QMouseEvent event(type, at, plot.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&plot, &event);
    }

    SystemClock m_clock;
    QTemporaryDir m_settings;
    std::unique_ptr<ViewerWindow> m_window;
    ReductionAttachment* m_attachment = nullptr;
};

TEST_F(ViewerReductionTest, TheShownFileIsReducedAndMarked) {
    open();
    const analysis::ReductionResults want = expected();
    const analysis::ReductionResults& got = controller().results();
    EXPECT_EQ(got.records, want.records);
    EXPECT_EQ(got.penetrationS, want.penetrationS);
    EXPECT_EQ(got.heatFlowMWPerM2.has_value(), true);
    EXPECT_NEAR(*got.heatFlowMWPerM2, *want.heatFlowMWPerM2, 1e-3 * *want.heatFlowMWPerM2);
    // A file opened is reduced at the end of its reading, not per chunk or record.
    EXPECT_EQ(controller().reductions(), 1);
    FitMarkers& marks = m_attachment->markers();
    EXPECT_EQ(marks.handleKey(Handle::Penetration), want.penetrationS);
    EXPECT_EQ(marks.heaterOnKey(), want.heater.onS);
    EXPECT_EQ(marks.heaterOffKey(), want.heater.offS);
    EXPECT_EQ(marks.handleKey(Handle::DecayFrom), want.sensors[0].decayWindow->fromS);
    EXPECT_EQ(marks.handleKey(Handle::HeatingTo), want.sensors[0].kWindow->toS);
    // No profile for 0417 in the settings folder: the default, and the panel says so.
    EXPECT_TRUE(controller().profile().isDefault);
    EXPECT_TRUE(m_attachment->panel().profileLabel().text().contains(
        QStringLiteral("no probe profile for instrument 0417")));
}

TEST_F(ViewerReductionTest, ADayLongFileIsReducedOnceWhenOpened) {
    QString error;
    ASSERT_TRUE(s_run->write(QStringLiteral("day.log"),
                             {"--duration", "86400", "--heat-delay", "3600", "--seed", "3"}, error))
        << error.toStdString();
    m_window->openFile(s_run->path(QStringLiteral("day.log")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller().pending(); }, 5000));
    EXPECT_EQ(controller().reductions(), 1);
    EXPECT_EQ(controller().results().records, 86401);
    EXPECT_TRUE(controller().results().heatFlowMWPerM2);
}

TEST_F(ViewerReductionTest, DraggingOnThePlotMovesTheChoice) {
    open();
    const analysis::ReductionResults before = controller().results();
    const double tp = *before.penetrationS;
    const double on = *before.heater.onS;
    struct Case {
        Handle handle;
        double to;
    };
    const std::vector<Case> cases = {{Handle::DecayFrom, tp + 120.0},
                                     {Handle::DecayTo, tp + 380.0},
                                     {Handle::HeatingFrom, on + 100.0},
                                     {Handle::HeatingTo, on + 500.0},
                                     {Handle::Penetration, tp + 15.0}};
    FitMarkers& marks = m_attachment->markers();
    QCustomPlot& plot = m_window->plot().customPlot();
    // One pixel of the plot in seconds: how close a drag can put an edge.
    const double second = std::abs(plot.xAxis->pixelToCoord(1) - plot.xAxis->pixelToCoord(0));
    for (const Case& c : cases) {
        const double from = *marks.handleKey(c.handle);
        const double teq = *controller().results().sensors[2].tEqC;
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + c.to) / 2, Qt::LeftButton);
        mouse(QEvent::MouseMove, c.to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, c.to, Qt::NoButton);
        EXPECT_TRUE(controller().pending());
        controller().reduceNow();
        ASSERT_TRUE(marks.handleKey(c.handle)) << static_cast<int>(c.handle);
        EXPECT_NEAR(*marks.handleKey(c.handle), c.to, 1.5 * second) << static_cast<int>(c.handle);
        if (c.handle != Handle::HeatingFrom && c.handle != Handle::HeatingTo) {
            EXPECT_NE(*controller().results().sensors[2].tEqC, teq);
        }
    }
    EXPECT_TRUE(controller().options().penetrationS);
    EXPECT_TRUE(controller().results().flags.contains(
        QStringLiteral("penetration time set by the operator")));
    // A press away from every mark is the plot's own (pan), not a drag.
    const int reductions = controller().reductions();
    mouse(QEvent::MouseButtonPress, on + 250.0, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, on + 250.0, Qt::NoButton);
    EXPECT_FALSE(controller().pending());
    EXPECT_EQ(controller().reductions(), reductions);
}

TEST_F(ViewerReductionTest, AProfileGivenOrSavedIsUsed) {
    analysis::ProbeProfile given = profile();
    given.heaterWPerMPerLevel = 0.3;
    given.tiltDeg = 10.0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("probe.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(given.toJson());
    file.close();
    QString error;
    ASSERT_TRUE(m_attachment->useProfileFile(path, error));
    open();
    EXPECT_DOUBLE_EQ(*controller().results().heater.qWPerM, 36.0);
    EXPECT_TRUE(m_attachment->panel().profileLabel().text().contains(path));
    EXPECT_FALSE(m_attachment->useProfileFile(dir.filePath(QStringLiteral("none.json")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("cannot read")));
}

TEST_F(ViewerReductionTest, ExportsJsonAsTheBatchCommandAndAReport) {
    open();
    QTemporaryDir out;
    QString error;
    const QString json = out.filePath(QStringLiteral("results.json"));
    ASSERT_TRUE(m_attachment->exportJson(json, error)) << error.toStdString();
    QFile file(json);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    // Byte for byte what quorvane-view --analyze --station N prints for the file.
    QProcess batch;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settings.path() + QStringLiteral("/none"));
    batch.setProcessEnvironment(env);
    batch.start(SimulatedRun::binDir() + QStringLiteral("/quorvane-view"),
                {QStringLiteral("--analyze"), filePath(), QStringLiteral("--station"),
                 QString::number(controller().chosenIndex())});
    ASSERT_TRUE(batch.waitForFinished(30000));
    EXPECT_EQ(batch.exitCode(), 0);
    EXPECT_EQ(batch.readAllStandardOutput(), bytes);

    for (const QString& name : {QStringLiteral("report.pdf"), QStringLiteral("report.png")}) {
        const QString path = out.filePath(name);
        ASSERT_TRUE(m_attachment->exportReport(path, error)) << error.toStdString();
        QFile report(path);
        ASSERT_TRUE(report.open(QIODevice::ReadOnly));
        const QByteArray head = report.read(8);
        EXPECT_TRUE(name.endsWith(QStringLiteral("pdf")) ? head.startsWith("%PDF-")
                                                         : head.startsWith("\x89PNG"));
        EXPECT_GT(report.size(), 30000) << name.toStdString(); // the plots are in it
    }
    const QImage page(out.filePath(QStringLiteral("report.png")));
    EXPECT_EQ(page.size(), QSize(ReportExporter::kPageWidth, ReportExporter::kPageHeight));
    if (!qEnvironmentVariableIsEmpty("QUORVANE_SCREENSHOT_DIR")) {
        for (const QString& kind : {QStringLiteral("png"), QStringLiteral("pdf")}) {
            QFile::copy(out.filePath(QStringLiteral("report.") + kind),
                        qEnvironmentVariable("QUORVANE_SCREENSHOT_DIR") +
                            QStringLiteral("/reduction-report.") + kind);
        }
    }
    // The numbers in the PDF, where poppler's pdftotext is at hand.
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), out.filePath(QStringLiteral("report.pdf")),
                QStringLiteral("-")});
    if (text.waitForFinished(20000) && text.exitCode() == 0) {
        // Compatibility form: the ligatures of "ff" and "fl" back to letters.
        const QString words = QString::fromUtf8(text.readAllStandardOutput())
                                  .normalized(QString::NormalizationForm_KC);
        const StationSnapshot station{controller().results(), {}, std::nullopt, {}, {}};
        const ReportText report(station, {});
        for (const auto& [name, value] : report.resultRows()) {
            EXPECT_TRUE(words.contains(value.normalized(QString::NormalizationForm_KC)))
                << value.toStdString();
        }
        for (const QStringList& row : report.sensorRows()) {
            EXPECT_TRUE(words.contains(row[3])) << row[3].toStdString();
        }
    }
}

// A file of which no line is a header line or a record: the status bar and the panel say so.
TEST_F(ViewerReductionTest, TheWindowSaysWhenAFileIsNoDataLogFile) {
    const QString notes = m_settings.filePath(QStringLiteral("notes.md"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Notes\r\n\r\nThe probe went in at 13:00.\r\n");
    file.close();
    m_window->openFile(notes);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->loading(); }, 5000));
    EXPECT_TRUE(m_window->statusMessage().startsWith(
        QStringLiteral("notes.md is not a data log file: no line of it is a header line")))
        << m_window->statusMessage().toStdString();
    QLabel& note = m_attachment->panel().fileNoteLabel();
    EXPECT_FALSE(note.isHidden());
    EXPECT_EQ(note.text(), QStringLiteral("notes.md is not a data log file: nothing to reduce."));
    open();
    EXPECT_TRUE(note.isHidden());
    EXPECT_EQ(m_window->statusMessage(), QStringLiteral("run30.log: 1801 records."));
}

TEST_F(ViewerReductionTest, ExportsSayWhyTheyFail) {
    open();
    QString error;
    const QString nowhere = m_settings.path() + QStringLiteral("/no/such/folder/");
    EXPECT_FALSE(m_attachment->exportJson(nowhere + QStringLiteral("r.json"), error));
    EXPECT_FALSE(error.isEmpty());
    for (const QString& name : {QStringLiteral("r.pdf"), QStringLiteral("r.png")}) {
        error.clear();
        EXPECT_FALSE(m_attachment->exportReport(nowhere + name, error)) << name.toStdString();
        EXPECT_FALSE(error.isEmpty()) << name.toStdString();
    }
}

} // namespace
} // namespace quorvane::test
