#include "viewer/PlotKeys.h"
#include "ViewerFiles.h"
#include "logging/SystemClock.h"
#include "viewer/ReadoutPanel.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace viewertest;

// The plot worked from the keyboard in the real window: a hundred records at 1 s.
class PlotKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text = header();
        for (int i = 0; i < 100; ++i) {
            text += rawLine(i);
        }
        folder.write("run.log", text);
        window.resize(1000, 700);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.openFile(QString::fromStdString(folder.path("run.log")));
        canvas().clearFocus();
        canvas().setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return canvas().hasFocus(); }, 2000));
    }
    QCustomPlot& canvas() { return window.plot().customPlot(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&canvas(), static_cast<Qt::Key>(key), modifiers);
    }
    QCPRange view() const { return const_cast<ViewerWindow&>(window).plot().visibleRange(); }

    TempFolder folder{"keys"};
    SystemClock clock;
    ViewerWindow window{clock};
};

TEST_F(PlotKeysTest, ArrowsPanPlusAndMinusZoomHomeShowsTheWholeRun) {
    const QCPRange whole = view();
    ASSERT_TRUE(window.plot().follow());
    press(Qt::Key_Left);
    EXPECT_FALSE(window.plot().follow()) << "a pan ends follow";
    EXPECT_FALSE(window.followAction()->isChecked());
    EXPECT_NEAR(view().lower, whole.lower - whole.size() * PlotKeys::kPanShare, 1e-6);
    EXPECT_NEAR(view().size(), whole.size(), 1e-6);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_NEAR(view().lower, whole.lower + whole.size() * PlotKeys::kPanShare, 1e-6);
    press(Qt::Key_Plus);
    EXPECT_NEAR(view().size(), whole.size() * PlotKeys::kZoomFactor, 1e-6);
    press(Qt::Key_Minus);
    press(Qt::Key_Minus);
    EXPECT_NEAR(view().size(), whole.size() / PlotKeys::kZoomFactor, 1e-6);
    press(Qt::Key_Home);
    EXPECT_NEAR(view().lower, whole.lower, 1e-6);
    EXPECT_NEAR(view().upper, whole.upper, 1e-6);
    // F follows the newest data again (the window's View > Follow).
    press(Qt::Key_F);
    EXPECT_TRUE(window.plot().follow());
    EXPECT_TRUE(window.followAction()->isChecked());
}

TEST_F(PlotKeysTest, ShiftArrowsMoveTheCursorAndEnterPicks) {
    // With the focus the cursor is on the record nearest the middle of the view.
    ASSERT_TRUE(window.plot().cursorKey());
    const double start = *window.plot().cursorKey();
    EXPECT_EQ(start, std::round(start));
    EXPECT_TRUE(window.readout().cursorText().contains(" UTC"));
    press(Qt::Key_Return);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(*window.plot().cursorKey(), start + 3);
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Enter);
    // Both picks are marked on the plot and read out.
    ASSERT_TRUE(window.plot().pickKey(0));
    ASSERT_TRUE(window.plot().pickKey(1));
    EXPECT_DOUBLE_EQ(*window.plot().pickKey(0), start);
    EXPECT_DOUBLE_EQ(*window.plot().pickKey(1), start + 2);
    EXPECT_TRUE(window.readout().differenceText().startsWith("2 s\n"))
        << window.readout().differenceText().toStdString();
    // A third pick starts again: A moves, B goes.
    press(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(*window.plot().pickKey(0), start + 2);
    EXPECT_FALSE(window.plot().pickKey(1));
    // The cursor stops at the last record; the view follows it.
    for (int i = 0; i < 120; ++i) {
        press(Qt::Key_Right, Qt::ShiftModifier);
    }
    EXPECT_DOUBLE_EQ(*window.plot().cursorKey(), kStart + 99);
    EXPECT_GE(view().upper, kStart + 99);
}

TEST_F(PlotKeysTest, TabReachesThePlotWhichShowsItHasTheFocus) {
    EXPECT_EQ(canvas().focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(canvas().accessibleName().isEmpty());
    EXPECT_TRUE(canvas().accessibleDescription().contains("Enter picks"));
    EXPECT_TRUE(window.plot().screenOnlyItems().at(1)->visible()) << "the focus frame";
    window.readout().setFocus();
    canvas().clearFocus();
    EXPECT_FALSE(window.plot().screenOnlyItems().at(1)->visible());
}

} // namespace
} // namespace quorvane
