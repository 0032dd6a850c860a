#include "logging/SystemClock.h"
#include "platform/Failure.h"
#include "shell/QtButton.h"
#include "shell/QtCheckBox.h"
#include "shell/QtDialogs.h"
#include "shell/QtFrame.h"
#include "shell/QtLabel.h"
#include "shell/QtLongTimer.h"
#include "shell/QtOptionButton.h"
#include "shell/QtSerialPort.h"
#include "shell/QtStatusPanel.h"
#include "shell/QtTextField.h"
#include "shell/QtTimer.h"
#include "shell/QtWindowFrame.h"

#include "QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// Two option buttons in one parent, as Frame7 holds them.
struct OptionPair {
    QWidget frame;
    QRadioButton* hexButton = new QRadioButton("Log Hex", &frame);
    QRadioButton* temperatureButton = new QRadioButton("Log Temperature", &frame);
    QtOptionButton hex{hexButton};
    QtOptionButton temperature{temperatureButton};
    int hexClicks = 0;
    int temperatureClicks = 0;

    OptionPair() {
        hex.onClicked([this] { ++hexClicks; });
        temperature.onClicked([this] { ++temperatureClicks; });
    }
};

} // namespace

TEST(OptionButton, ProgrammaticSelectionRunsTheReactionOnceAndClearsThePartner) {
    OptionPair pair;
    pair.hex.setSelected(true);
    EXPECT_TRUE(pair.hex.isSelected());
    EXPECT_EQ(pair.hexClicks, 1);
    pair.hex.setSelected(true); // already selected: nothing happens
    EXPECT_EQ(pair.hexClicks, 1);

    pair.temperature.setSelected(true);
    EXPECT_TRUE(pair.temperature.isSelected());
    EXPECT_FALSE(pair.hex.isSelected());
    EXPECT_EQ(pair.temperatureClicks, 1);
    EXPECT_EQ(pair.hexClicks, 1); // being deselected is no click
}

TEST(OptionButton, BothMayBeClearAndTheGroupStaysExclusive) {
    OptionPair pair;
    pair.hex.setSelected(true);
    pair.hex.setSelected(false);
    EXPECT_FALSE(pair.hex.isSelected());
    EXPECT_FALSE(pair.temperature.isSelected());
    EXPECT_EQ(pair.hexClicks, 1);
    EXPECT_EQ(pair.temperatureClicks, 0);

    pair.temperature.setSelected(true);
    pair.hex.setSelected(true);
    EXPECT_FALSE(pair.temperature.isSelected());
    EXPECT_TRUE(pair.hexButton->autoExclusive());
}

TEST(OptionButton, OperatorClickSelectsAndReactsOnce) {
    OptionPair pair;
    pair.hex.setSelected(true);
    pair.frame.show();
    QTest::mouseClick(pair.temperatureButton, Qt::LeftButton);
    EXPECT_TRUE(pair.temperature.isSelected());
    EXPECT_FALSE(pair.hex.isSelected());
    EXPECT_EQ(pair.temperatureClicks, 1);
}

TEST(OptionButton, EnabledIsTheButtonsOwnFlag) {
    QGroupBox frame;
    auto* radio = new QRadioButton("x", &frame);
    QtOptionButton option(radio);
    QtFrame group(&frame);
    group.setEnabled(false);
    EXPECT_FALSE(group.isEnabled());
    EXPECT_FALSE(radio->isEnabled()); // unreachable inside the disabled frame
    EXPECT_TRUE(option.isEnabled());  // but not disabled itself
    option.setEnabled(false);
    group.setEnabled(true);
    EXPECT_FALSE(option.isEnabled());
    EXPECT_FALSE(radio->isEnabled());
}

TEST(TextField, ChangeReactionOnlyOnARealChange) {
    QLineEdit edit("0");
    QtTextField field(&edit);
    std::vector<std::string> seen;
    field.onChanged([&] { seen.push_back(field.text()); });

    field.setText("0"); // same text
    EXPECT_TRUE(seen.empty());
    field.setText("120");
    field.setText("120");
    edit.setText("120"); // the widget itself, same text
    EXPECT_EQ(seen, std::vector<std::string>({"120"}));

    // Typing runs it per keystroke; a reaction that rewrites the text runs it once more.
    edit.clear();
    seen.clear();
    edit.setFocus();
    QTest::keyClicks(&edit, "45");
    EXPECT_EQ(seen, std::vector<std::string>({"4", "45"}));

    int rewrites = 0;
    field.onChanged([&] {
        ++rewrites;
        if (field.text() == "7 ") {
            field.setText("7");
        }
    });
    field.setText("7 ");
    EXPECT_EQ(field.text(), "7");
    EXPECT_EQ(rewrites, 2);
}

TEST(TextField, SelectionAndColours) {
    QLineEdit edit("12345");
    QtTextField field(&edit);
    field.setSelection(1, 3);
    EXPECT_EQ(edit.selectionStart(), 1);
    EXPECT_EQ(edit.selectedText(), "234");

    field.setBackground(Color::rgb(255, 224, 192));
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(255, 224, 192));
    field.setForeground(Color::rgb(255, 0, 0));
    EXPECT_EQ(edit.palette().color(QPalette::Text), QColor(255, 0, 0));
    field.setBackground(Color::buttonFace());
    EXPECT_EQ(edit.palette().color(QPalette::Base), QLineEdit().palette().color(QPalette::Button));
}

TEST(TextField, FocusReactionsIgnoreAnotherWindowTakingOver) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    QtTextField field(first);
    int got = 0;
    int lost = 0;
    field.onGotFocus([&] { ++got; });
    field.onLostFocus([&] { ++lost; });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    second->setFocus(); // the window gave the first field the focus on activation
    got = 0;
    lost = 0;

    field.setFocus();
    EXPECT_EQ(got, 1);
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(lost, 1);
    field.setFocus();
    EXPECT_EQ(got, 2);

    // A message box opening takes the focus with the window: no lost-focus check.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(first, &out);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(first, &popup);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(first, &back);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(got, 2);
}

TEST(CheckBox, ClickReactionRunsForEveryChangeOfValue) {
    QCheckBox box("Allow Heater Commands");
    QtCheckBox check(&box);
    int clicks = 0;
    check.onClicked([&] { ++clicks; });
    check.setChecked(false); // unchanged
    EXPECT_EQ(clicks, 0);
    check.setChecked(true);
    EXPECT_TRUE(check.isChecked());
    EXPECT_EQ(clicks, 1);
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
    EXPECT_FALSE(check.isChecked());
    EXPECT_EQ(clicks, 2);
    check.setEnabled(false);
    EXPECT_FALSE(check.isEnabled());
}

TEST(Button, ColoursShowOnThePaletteAndFaceRestoresTheLook) {
    QPushButton widget("Start Run");
    const QColor face = widget.palette().color(QPalette::Button);
    QtButton button(&widget);
    int clicks = 0;
    button.onClicked([&] { ++clicks; });

    EXPECT_TRUE(button.background().systemFace);
    button.setBackground(colors::green);
    EXPECT_EQ(button.background(), colors::green);
    EXPECT_EQ(widget.palette().color(QPalette::Active, QPalette::Button), QColor(0, 255, 0));
    EXPECT_EQ(widget.palette().color(QPalette::Disabled, QPalette::Button), QColor(0, 255, 0));
    button.setBackground(colors::red);
    EXPECT_EQ(widget.palette().color(QPalette::Button), QColor(255, 0, 0));
    button.setBackground(colors::face);
    EXPECT_TRUE(button.background().systemFace);
    EXPECT_EQ(widget.palette().color(QPalette::Button), face);

    // The colour is painted: a green button's pixels are green.
    widget.resize(80, 30);
    button.setBackground(colors::green);
    const QImage shot = widget.grab().toImage();
    const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() - 6);
    EXPECT_GT(middle.green(), 150);
    EXPECT_LT(middle.red(), 120);

    widget.click();
    button.setEnabled(false);
    widget.click(); // a disabled button cannot be clicked
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.isEnabled());
}

TEST(Button, CaptionIsKeptExactlyWhileATooWideOneIsShownOnTwoLines) {
    QPushButton widget("Finish Run");
    widget.setGeometry(0, 0, 57, 29);
    QtButton button(&widget);
    button.setCaption("Finish (heats on)");
    EXPECT_EQ(button.caption(), "Finish (heats on)");
    EXPECT_EQ(widget.text().count(u'\n'), 1);
    EXPECT_EQ(widget.text().replace(u'\n', u' '), "Finish (heats on)");
    button.setCaption("Go");
    EXPECT_EQ(widget.text(), "Go");
}

TEST(Label, CaptionKeptExactlyAndShownAsPlainText) {
    QLabel widget;
    QtLabel label(&widget);
    label.setCaption("<b>1.5</b>\r\nnext");
    EXPECT_EQ(label.caption(), "<b>1.5</b>\r\nnext");
    EXPECT_EQ(widget.text(), "<b>1.5</b>\nnext");
    EXPECT_EQ(widget.textFormat(), Qt::PlainText);
}

TEST(StatusPanel, TextAndPictureAndAMissingPicture) {
    QWidget bar;
    QtStatusPanel panel(&bar, 203);
    EXPECT_EQ(panel.widget()->width(), 203);
    panel.setText("Running - Heater OFF");
    EXPECT_EQ(panel.text(), "Running - Heater OFF");
    EXPECT_EQ(panel.textLabel()->text(), "Running - Heater OFF");

    const QByteArray bin = qgetenv("QUORVANE_BIN_DIR");
    const std::string icons =
        bin.isEmpty() ? std::string(QUORVANE_SOURCE_ICONS) : bin.toStdString() + "/icons";
    EXPECT_TRUE(panel.setPicture(icons + "/greenlight.bmp"));
    EXPECT_TRUE(panel.hasPicture());
    EXPECT_FALSE(panel.setPicture(icons + "/no-such-light.bmp"));
    EXPECT_FALSE(panel.hasPicture()); // no stale light
    EXPECT_EQ(panel.text(), "Running - Heater OFF");
    EXPECT_TRUE(panel.setPicture(icons + "/redlight.bmp"));
}

TEST(Timer, IntervalZeroNeverTicksAndANewIntervalRestarts) {
    QtTimer timer(0, true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isRunning());
    timer.setInterval(20);
    EXPECT_TRUE(timer.isRunning());
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isRunning());
    timer.setInterval(30);
    EXPECT_FALSE(timer.isRunning());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isRunning());
    timer.setInterval(-5);
    EXPECT_FALSE(timer.isRunning());

    int ticks = 0;
    timer.onTick([&] { ++ticks; });
    timer.setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
}

TEST(LongTimer, SecondsBecomeMillisecondsAndDisablingCancels) {
    QtLongTimer timer;
    timer.setEnabled(true);
    EXPECT_FALSE(timer.isRunning()); // interval 0 never expires
    timer.setInterval(86400);
    EXPECT_EQ(timer.periodMs(), 86400000);
    EXPECT_TRUE(timer.isRunning());
    EXPECT_GT(timer.remainingMs(), 86390000);
    timer.setInterval(1.5f);
    EXPECT_EQ(timer.periodMs(), 1500);
    EXPECT_LE(timer.remainingMs(), 1500);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_EQ(timer.interval(), 1.5f);

    int expiries = 0;
    timer.onExpiry([&] { ++expiries; });
    timer.setInterval(0.01f);
    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return expiries >= 1; }, 5000));
    timer.setEnabled(false);
    const int seen = expiries;
    QTest::qWait(50);
    EXPECT_EQ(expiries, seen);
}

// What the window retires at its unload stays stopped, whatever a handler still under way
// tells it.
TEST(Retired, TimersStayStoppedAndThePortStaysClosed) {
    QtTimer timer(20, true);
    QtLongTimer longTimer;
    longTimer.setInterval(0.01f);
    longTimer.setEnabled(true);
    int ticks = 0;
    timer.onTick([&] { ++ticks; });
    longTimer.onExpiry([&] { ++ticks; });
    timer.retire();
    longTimer.retire();
    timer.setEnabled(false);
    timer.setEnabled(true);
    timer.setInterval(5);
    longTimer.setEnabled(false);
    longTimer.setEnabled(true);
    longTimer.setInterval(0.005f);
    EXPECT_FALSE(timer.isRunning());
    EXPECT_FALSE(longTimer.isRunning());
    QTest::qWait(50);
    EXPECT_EQ(ticks, 0);

    QtSerialPort port;
    port.retire();
    EXPECT_THROW(port.open(), Failure);
    EXPECT_FALSE(port.isOpen());
}

TEST(WindowFrame, CaptionMinimizedAndPlacementInTwips) {
    QWidget window;
    QtWindowFrame frame(&window);
    frame.setCaption("Quorvane 1.0.6");
    EXPECT_EQ(window.windowTitle(), "Quorvane 1.0.6");
    EXPECT_EQ(frame.caption(), "Quorvane 1.0.6");
    window.setGeometry(100, 80, 600, 500);
    window.show();
    const QRect outer = window.frameGeometry();
    const WindowPlacement p = frame.placement();
    EXPECT_EQ(p.left, outer.x() * 15.0);
    EXPECT_EQ(p.top, outer.y() * 15.0);
    EXPECT_EQ(p.width, outer.width() * 15.0);
    EXPECT_EQ(p.height, outer.height() * 15.0);
    EXPECT_FALSE(frame.isMinimized());
    window.showMinimized();
    EXPECT_TRUE(frame.isMinimized());
}

TEST(Dialogs, MessageBoxWithTitleIconAndOneOkButton) {
    QtDialogs dialogs;
    bool seenOpen = false;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenOpen = dialogs.isMessageOpen();
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.showMessage("Un-recoverable error: invalid gui state: 2\r\n<b>x</b>", "Quorvane",
                        MessageIcon::Critical);
    EXPECT_TRUE(seenOpen);
    EXPECT_FALSE(dialogs.isMessageOpen());
    EXPECT_EQ(text, "Un-recoverable error: invalid gui state: 2\n<b>x</b>");
    EXPECT_EQ(title, "Quorvane");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        box->accept();
    });
    dialogs.showMessage("Error setting serial port:COM3", "Quorvane");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

TEST(SystemClock, ReadsUtcFieldByField) {
    using namespace std::chrono;
    // 07-Dec-2026 13:51:10.250 UTC, a Monday.
    const system_clock::time_point when{milliseconds{1796651470250}};
    const SystemTime t = SystemClock::toSystemTime(when);
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.dayOfWeek, 1);
    EXPECT_EQ(t.hour, 13);
    EXPECT_EQ(t.minute, 51);
    EXPECT_EQ(t.second, 10);
    EXPECT_EQ(t.millisecond, 250);
    const SystemTime now = SystemClock().nowUtc();
    EXPECT_GE(now.year, 2024);
}
