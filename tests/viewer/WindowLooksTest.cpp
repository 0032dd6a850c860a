#include "ViewerWindowFixture.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/reduction/DecimalSpinBox.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStatusBar>
#include <QSvgRenderer>
#include <fstream>

// What the window shows a person, and what its exports show: legend, empty plot, exports
// without the cursor, a narrow status bar, the limit fields.
namespace quorvane {
namespace {

using namespace viewertest;

// The legend sits above the plot, where it covers none of the run.
TEST_F(ViewerWindowTest, TheLegendCoversNoneOfThePlot) {
    folder.write("run.log", runWithHeaterAndGap());
    window.resize(900, 600);
    window.show();
    window.openFile(QString::fromStdString(folder.path("run.log")));
    QCustomPlot& plot = window.plot().customPlot();
    plot.replot();
    EXPECT_TRUE(plot.legend->visible());
    EXPECT_GT(plot.legend->outerRect().height(), 0);
    EXPECT_FALSE(plot.legend->outerRect().intersects(plot.axisRect()->rect()))
        << "legend " << plot.legend->outerRect().top() << "-" << plot.legend->outerRect().bottom()
        << ", plot from " << plot.axisRect()->rect().top();
}

// With no record there is no time to label: no 1970 on the axis, and the plot says why.
TEST_F(ViewerWindowTest, AnEmptyPlotShowsNoDate) {
    window.resize(900, 600);
    window.show();
    EXPECT_FALSE(window.plot().customPlot().xAxis->tickLabels());
    EXPECT_EQ(window.plot().emptyText(), "No records to show");
    ASSERT_TRUE(window.exportSvg(QString::fromStdString(folder.path("empty.svg")), {640, 400}));
    std::ifstream svg(folder.path("empty.svg"));
    const std::string text((std::istreambuf_iterator<char>(svg)), {});
    EXPECT_EQ(text.find("1970"), std::string::npos);
    EXPECT_NE(text.find("No records to show"), std::string::npos);

    folder.write("run.log", runWithHeaterAndGap());
    window.openFile(QString::fromStdString(folder.path("run.log")));
    EXPECT_TRUE(window.plot().customPlot().xAxis->tickLabels());
    EXPECT_TRUE(window.plot().emptyText().isEmpty());
}

// Exports show what a reader of them needs: no cursor line, and shaded spans cut to the view
// (an SVG painter clips nothing: a span went over the axis labels).
TEST_F(ViewerWindowTest, ExportsLeaveOutTheCursorAndCutSpansToTheView) {
    folder.write("run.log", runWithHeaterAndGap());
    window.resize(900, 600);
    window.show();
    window.openFile(QString::fromStdString(folder.path("run.log")));
    window.plot().setFollow(false);
    // Inside the heater-on span (9.5 to 14.5 s): it fills the whole plot.
    window.plot().setVisibleRange(kStart + 12, kStart + 13);
    window.plot().showCursor(kStart + 12.5);
    const QSize size(640, 400);
    ASSERT_TRUE(window.exportSvg(QString::fromStdString(folder.path("plot.svg")), size));
    ASSERT_TRUE(window.exportPng(QString::fromStdString(folder.path("plot.png")), size));
    EXPECT_EQ(window.plot().cursorKey(), kStart + 12.5) << "the screen keeps its cursor";
    // The same pictures as without a cursor.
    window.plot().showCursor(std::nullopt);
    ASSERT_TRUE(window.exportSvg(QString::fromStdString(folder.path("bare.svg")), size));
    ASSERT_TRUE(window.exportPng(QString::fromStdString(folder.path("bare.png")), size));
    const auto bytes = [&](const char* name) {
        std::ifstream in(folder.path(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    EXPECT_EQ(bytes("plot.svg"), bytes("bare.svg"));
    EXPECT_EQ(QImage(QString::fromStdString(folder.path("plot.png"))),
              QImage(QString::fromStdString(folder.path("bare.png"))));

    const auto heaterShaded = [](QRgb pixel) {
        // The heater's orange over white: red high, blue clearly lower.
        return qRed(pixel) > 240 && qBlue(pixel) < 225 && qGreen(pixel) > qBlue(pixel);
    };
    QImage svg(size, QImage::Format_ARGB32);
    svg.fill(Qt::white);
    QSvgRenderer renderer(QString::fromStdString(folder.path("plot.svg")));
    ASSERT_TRUE(renderer.isValid());
    QPainter painter(&svg);
    renderer.render(&painter);
    painter.end();
    const QImage png(QString::fromStdString(folder.path("plot.png")));
    for (const QImage* image : std::initializer_list<const QImage*>{&svg, &png}) {
        const char* kind = image == &svg ? "svg" : "png";
        // Shaded in the plot, not left of it where the temperatures' labels are.
        int inside = 0;
        for (int y = size.height() / 2 - 10; y < size.height() / 2 + 10; ++y) {
            for (int x = size.width() / 2 - 10; x < size.width() / 2 + 10; ++x) {
                inside += heaterShaded(image->pixel(x, y));
            }
        }
        EXPECT_GT(inside, 200) << kind;
        for (int x = 0; x < 20; ++x) {
            ASSERT_FALSE(heaterShaded(image->pixel(x, size.height() / 2))) << kind << " at x " << x;
        }
    }
}

// In a narrow window the status bar's labels give way: none runs out of the window, and one
// cut short keeps its whole text in its tool tip.
TEST_F(ViewerWindowTest, TheStatusBarFitsANarrowWindow) {
    folder.write("run.log", runWithHeaterAndGap());
    window.resize(600, 500);
    window.show();
    window.openFile(QString::fromStdString(folder.path("run.log")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStatusBar* bar = window.statusBar();
    QCoreApplication::processEvents();
    // The status bar never makes the window wider than its other parts want.
    EXPECT_EQ(window.width(), 600);
    EXPECT_LT(bar->minimumSizeHint().width(), 400);
    const QList<QLabel*> labels = bar->findChildren<QLabel*>();
    ASSERT_GE(labels.size(), 5);
    for (QLabel* label : labels) {
        if (!label->isVisible()) {
            continue;
        }
        EXPECT_LE(label->geometry().right(), bar->contentsRect().right())
            << label->text().toStdString();
        EXPECT_GT(label->width(), 0) << label->text().toStdString();
        EXPECT_EQ(label->toolTip(), label->text());
    }
    EXPECT_TRUE(window.ageText().contains("s since the last record"));
}

// The limit fields read a decimal comma as a point and refuse limits that do not rise.
TEST_F(ViewerWindowTest, TemperatureLimitsAreCheckedAndReadUnderAnyLocale) {
    folder.write("run.log", runWithHeaterAndGap());
    window.resize(900, 600);
    window.show();
    window.openFile(QString::fromStdString(folder.path("run.log")));
    window.autoScaleAction()->setChecked(false);
    DecimalSpinBox& lower = window.lowerLimitField();
    DecimalSpinBox& upper = window.upperLimitField();
    const auto type = [](DecimalSpinBox& box, const char* text) {
        QLineEdit* edit = box.findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Return);
    };
    type(upper, "40,5");
    EXPECT_DOUBLE_EQ(upper.value(), 40.5);
    type(lower, "3,5");
    EXPECT_DOUBLE_EQ(lower.value(), 3.5);
    EXPECT_DOUBLE_EQ(window.plot().customPlot().yAxis->range().lower, 3.5);
    EXPECT_DOUBLE_EQ(window.plot().customPlot().yAxis->range().upper, 40.5);
    type(lower, "50");
    EXPECT_DOUBLE_EQ(window.plot().customPlot().yAxis->range().lower, 3.5) << "not taken";
    EXPECT_TRUE(window.statusMessage().startsWith("The temperature limits must rise"))
        << window.statusMessage().toStdString();
}

} // namespace
} // namespace quorvane
