#include "viewer/ViewerWindow.h"
#include "ViewerWindowFixture.h"
#include "datafile/PlainNumbers.h"
#include "logging/SystemClock.h"
#include "viewer/CsvExport.h"
#include "viewer/HeaderPanel.h"
#include "viewer/ReadoutPanel.h"
#include "viewer/TemperaturePlot.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <clocale>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace viewertest;

TEST_F(ViewerWindowTest, AFileWithItsSeriesHeaterShadingAndGaps) {
    folder.write("run.log", runWithHeaterAndGap());
    window.openFile(QString::fromStdString(folder.path("run.log")));
    EXPECT_FALSE(window.loading());
    EXPECT_EQ(window.series().recordCount(), 25);
    QCustomPlot& plot = window.plot().customPlot();
    // 25 records and one break (NaN) for the gap, the keys shared by the five channels
    EXPECT_EQ(window.series().size(), 26);
    for (int c = 0; c < RunSeries::kChannels; ++c) {
        EXPECT_EQ(window.series().values(c).size(), 26u) << c;
        EXPECT_EQ(plot.plottable(c)->name(), TemperaturePlot::kChannelNames[c]);
    }
    EXPECT_EQ(window.series().gapCount(), 1);
    ASSERT_EQ(window.series().heaterSpans().size(), 1u);
    const RunSeries::HeaterSpan span = window.series().heaterSpans()[0];
    EXPECT_DOUBLE_EQ(span.from, kStart + 9.5);
    EXPECT_DOUBLE_EQ(span.to, kStart + 14.5);
    EXPECT_EQ(span.level, 120);
    EXPECT_EQ(window.plot().heaterRectCount(), 1);
    EXPECT_TRUE(plot.legend->hasItemWithPlottable(plot.plottable(RunSeries::kChannels)));
    EXPECT_EQ(plot.plottable(RunSeries::kChannels)->name(), "Heater on (level 120)");
    EXPECT_EQ(window.headerPanel().value(0), "0417");
    EXPECT_EQ(window.headerPanel().value(7), "1 s");
    EXPECT_TRUE(window.windowTitle().contains("run.log"));
    EXPECT_EQ(window.statusMessage(), "run.log: 25 records.");
    // Follow: the whole run in view.
    EXPECT_TRUE(window.plot().follow());
    EXPECT_LE(window.plot().visibleRange().lower, kStart);
    EXPECT_GE(window.plot().visibleRange().upper, kStart + 54);
}

TEST_F(ViewerWindowTest, ExportsPngSvgAndCsvOfTheVisibleRangeWithPoints) {
    folder.write("run.log", runWithHeaterAndGap());
    window.openFile(QString::fromStdString(folder.path("run.log")));
    window.plot().setFollow(false);
    window.plot().setVisibleRange(kStart + 12, kStart + 13);

    // Numbers never follow the locale, also under German.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QLocale defaultLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool csvOk = window.exportCsv(QString::fromStdString(folder.path("part.csv")));
    const bool pngOk =
        window.exportPng(QString::fromStdString(folder.path("plot.png")), {640, 400});
    const bool svgOk =
        window.exportSvg(QString::fromStdString(folder.path("plot.svg")), {640, 400});
    QLocale::setDefault(defaultLocale);
    std::setlocale(LC_ALL, before.c_str());

    ASSERT_TRUE(csvOk);
    std::ifstream csv(folder.path("part.csv"));
    const std::string text((std::istreambuf_iterator<char>(csv)), {});
    EXPECT_EQ(text, std::string(CsvExport::header()) +
                        "\n2026-12-07T13:51:22Z,12,3.457,18.393,34.640,-1.076,34.646,120"
                        "\n2026-12-07T13:51:23Z,13,3.456,18.393,34.640,-1.076,34.646,120\n");
    ASSERT_TRUE(pngOk);
    const QImage png(QString::fromStdString(folder.path("plot.png")));
    EXPECT_EQ(png.size(), QSize(640, 400));
    ASSERT_TRUE(svgOk);
    std::ifstream svg(folder.path("plot.svg"));
    const std::string svgText((std::istreambuf_iterator<char>(svg)), {});
    EXPECT_NE(svgText.find("<svg"), std::string::npos);
    EXPECT_NE(svgText.find("13:51:22"), std::string::npos) << "a time label in UTC";
    EXPECT_NE(svgText.find("Heater on (level 120)"), std::string::npos);
}

TEST_F(ViewerWindowTest, FollowIsLeftByAZoomAndTakenUpAgainByOneClick) {
    folder.write("run.log", header() + rawLine(0) + rawLine(1) + rawLine(2));
    window.resize(900, 600);
    window.show();
    window.openFile(QString::fromStdString(folder.path("run.log")));
    QWidget* canvas = &window.plot().customPlot();
    ASSERT_TRUE(window.followAction()->isChecked());

    const QPointF at(canvas->width() / 2.0, canvas->height() / 2.0);
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    EXPECT_FALSE(window.plot().follow());
    EXPECT_FALSE(window.followAction()->isChecked());

    // While not following, new records do not move the view.
    const QCPRange zoomed = window.plot().visibleRange();
    folder.append("run.log", rawLine(3) + rawLine(4) + rawLine(60));
    ASSERT_TRUE(waitFor([&] { return window.series().recordCount() == 6; }));
    EXPECT_DOUBLE_EQ(window.plot().visibleRange().lower, zoomed.lower);
    EXPECT_DOUBLE_EQ(window.plot().visibleRange().upper, zoomed.upper);

    window.followAction()->trigger();
    EXPECT_TRUE(window.plot().follow());
    EXPECT_GE(window.plot().visibleRange().upper, kStart + 60) << "the newest record in sight";

    // A drag (pan) leaves follow too.
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    QTest::mouseMove(canvas, QPoint(260, 200));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(260, 200));
    EXPECT_FALSE(window.plot().follow());
}

TEST_F(ViewerWindowTest, CursorReadoutAndTheDifferenceOfTwoPicks) {
    folder.write("run.log", header(1, false) + temperatureLine(0) + temperatureLine(10));
    window.openFile(QString::fromStdString(folder.path("run.log")));
    window.readout().showCursor(kStart + 0.2);
    EXPECT_TRUE(window.readout().cursorText().startsWith("13:51:10 UTC  (0 s)\nTTop 1.000 °C"))
        << window.readout().cursorText().toStdString();
    // Between the two records lies a gap (more than twice the log interval): said so.
    window.readout().showCursor(kStart + 1.2);
    EXPECT_TRUE(window.readout().cursorText().startsWith(
        "No record here: a gap of 10 s.\nThe nearest, 1 s before:\n13:51:10 UTC  (0 s)\n"))
        << window.readout().cursorText().toStdString();
    window.readout().pick(kStart);
    window.readout().pick(kStart + 9);
    EXPECT_TRUE(window.readout().differenceText().startsWith("10 s\nTTop +0.010 K\nT2   +0.010 K"))
        << window.readout().differenceText().toStdString();
    // The picks are marked on the plot, at the records picked.
    EXPECT_EQ(window.plot().pickKey(0), kStart);
    EXPECT_EQ(window.plot().pickKey(1), kStart + 10);
    window.openFile(QString::fromStdString(folder.path("run.log")));
    EXPECT_FALSE(window.plot().pickKey(0)) << "a file opened again has no picks";
}

// A cursor in a gap of the records says so and how far the record shown is.
TEST_F(ViewerWindowTest, TheReadoutSaysWhenTheCursorIsInAGap) {
    folder.write("run.log", runWithHeaterAndGap()); // records to 19 s, then from 50 s
    window.openFile(QString::fromStdString(folder.path("run.log")));
    window.readout().showCursor(kStart + 35);
    EXPECT_TRUE(window.readout().cursorText().startsWith(
        "No record here: a gap of 31 s.\nThe nearest, 15 s after:\n13:52:00"))
        << window.readout().cursorText().toStdString();
    window.readout().showCursor(kStart + 18.7);
    EXPECT_TRUE(window.readout().cursorText().startsWith("13:51:29 UTC"))
        << window.readout().cursorText().toStdString();
}

TEST_F(ViewerWindowTest, MarkerLinesAndShadedSpansFromOutside) {
    folder.write("run.log", runWithHeaterAndGap());
    window.openFile(QString::fromStdString(folder.path("run.log")));
    QCustomPlot& plot = window.plot().customPlot();
    const int items = plot.itemCount();
    const int line = window.plot().addMarkerLine(kStart + 5, Qt::black, "penetration");
    const int span = window.plot().addShadedSpan(kStart + 2, kStart + 8, QColor(0, 0, 255, 40));
    EXPECT_EQ(plot.itemCount(), items + 3);
    window.plot().removeMark(line);
    EXPECT_EQ(plot.itemCount(), items + 1);
    window.plot().removeMark(span);
    EXPECT_EQ(plot.itemCount(), items);
}

// Bad input: a clear message, never a crash, the good records stay shown.
TEST_F(ViewerWindowTest, BadInputMessages) {
    const struct {
        const char* name;
        std::string text;
        const char* message;
        qint64 records;
    } cases[] = {
        {"binary.log",
         std::string("\x7f"
                     "ELF\x02\x01\0\0\n\xff\xfe\0\n",
                     13),
         "binary.log is not a data log file", 0},
        {"letter.txt", "Dear operator,\r\nplease log.\r\n", "letter.txt is not a data log file", 0},
        // A line starting with '#' is no header line of its own.
        {"hash.bin",
         std::string("\x7f"
                     "ELF\x02\n#\x01\0\n\xff\xfe\0\n",
                     14),
         "hash.bin is not a data log file", 0},
        {"script.sh", "#!/bin/sh\necho hello\n", "script.sh is not a data log file", 0},
        {"header.log", header(), "header.log: header without data records (yet).", 0},
        {"noheader.log", rawLine(0) + rawLine(1), "noheader.log has no header block", 2},
        {"long.log", header() + std::string(300000, 'x') + "\r\n" + rawLine(0),
         "long.log: 1 bad line(s), the last line 12: line longer than 65536 characters", 1},
        {"empty.log", "", "empty.log is empty: waiting for data.", 0},
    };
    for (const auto& c : cases) {
        folder.write(c.name, c.text);
        window.openFile(QString::fromStdString(folder.path(c.name)));
        EXPECT_TRUE(window.statusMessage().startsWith(c.message))
            << c.name << ": " << window.statusMessage().toStdString();
        EXPECT_EQ(window.series().recordCount(), c.records) << c.name;
    }
    window.openFile(QString::fromStdString(folder.path("none.log")));
    EXPECT_TRUE(window.statusMessage().contains("none.log: file not found"))
        << window.statusMessage().toStdString();
}

TEST_F(ViewerWindowTest, AFileThatDisappearsWhileFollowedKeepsItsRecords) {
    folder.write("run.log", header() + rawLine(0) + rawLine(1));
    window.openFile(QString::fromStdString(folder.path("run.log")));
    std::filesystem::remove(folder.path("run.log"));
    ASSERT_TRUE(waitFor([&] { return window.statusMessage().contains("file not found"); }));
    EXPECT_TRUE(window.statusMessage().contains("the records read stay shown"));
    EXPECT_EQ(window.series().recordCount(), 2);
}

TEST_F(ViewerWindowTest, FollowsTheProgramsEventLog) {
    const std::string start = "START RUN. HeatDelay: 5  HeatDuration: 4  PowerLevel: 120  "
                              "LogInterval: 1  Logfile: ";
    folder.write("QuorvaneEvents.log",
                 stamp(kStart) + ": " + start + folder.path("missing.log") + "\r\n");
    window.followProgram(QString::fromStdString(folder.path("QuorvaneEvents.log")));
    EXPECT_TRUE(window.windowTitle().contains("missing.log"));
    EXPECT_TRUE(window.windowTitle().contains("following the program"));
    EXPECT_TRUE(window.statusMessage().contains("file not found"));

    folder.write("second.log", header() + rawLine(0));
    folder.append("QuorvaneEvents.log",
                  stamp(kStart + 1) + ": " + start + folder.path("second.log") + "\r\n");
    ASSERT_TRUE(waitFor([&] { return window.shownFile().endsWith("second.log"); }));
    EXPECT_EQ(window.series().recordCount(), 1);
    folder.append("second.log", rawLine(1));
    ASSERT_TRUE(waitFor([&] { return window.series().recordCount() == 2; }));

    window.openFile(QString::fromStdString(folder.path("second.log")));
    EXPECT_FALSE(window.followingProgram()) << "a file opened by hand ends following";
}

} // namespace
} // namespace quorvane
