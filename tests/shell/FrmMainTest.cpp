#include "shell/FrmMain.h"

#include "QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace quorvane;

namespace {

struct Control {
    const char* name;
    const char* kind; // class name of the widget
    const char* caption;
};

QString textOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text().replace(u'\n', u' '); // a caption too wide is shown on two lines
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        return e->text();
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        return g->title();
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        return p->toPlainText();
    }
    return {};
}

class FrmMainTest : public ::testing::Test {
protected:
    FrmMain window;

    QWidget* find(const QString& name) { return window.findChild<QWidget*>(name); }
    QRect geometryOf(const char* name) { return find(QString::fromLatin1(name))->geometry(); }
};

// Every named control: its kind and its caption or initial text ("?" skips the text).
const Control kControls[] = {
    {"cmdNewRun", "QPushButton", "Initialize"},
    {"cmdRun", "QPushButton", "Start Run"},
    {"cmdResume", "QPushButton", "Resume"},
    {"cmdFinish", "QPushButton", "Finish Run"},
    {"chkHeaterEnabled", "QCheckBox", "Allow Heater Commands"},
    {"cmdTestComs", "QPushButton", "?"}, // shown on two lines when it does not fit
    {"Frame1", "QGroupBox", ""},
    {"Label1", "QLabel", "OutputFile:"},
    {"lblFilename", "QLabel", ""},
    {"Label3", "QLabel", "Log Interval (seconds):"},
    {"txtLogInterval", "QLineEdit", "0"},
    {"Label4", "QLabel", "Heat Delay (seconds):"},
    {"txtHeatDelay", "QLineEdit", "0"},
    {"Label5", "QLabel", "Heat Time (seconds):"},
    {"txtHeatTime", "QLineEdit", "0"},
    {"Label6", "QLabel", "Heat Level (0-200):"},
    {"txtHeatLevel", "QLineEdit", "0"},
    {"Label2", "QLabel", "RunTime:"},
    {"lblElapsedTime", "QLabel", ""},
    {"lblHeatDelayRemaining", "QLabel", ""},
    {"lblHeatTimeRemaining", "QLabel", ""},
    {"Frame7", "QFrame", "?"},
    {"Option1(0)", "QRadioButton", "Log Hex"},
    {"Option1(1)", "QRadioButton", "Log Temperature"},
    {"SSTab1", "QTabWidget", "?"},
    {"Frame2", "QGroupBox", ""},
    {"Frame3", "QGroupBox", "Hex"},
    {"Frame4", "QGroupBox", "Decimal"},
    {"Frame8", "QGroupBox", "Instrument"},
    {"Frame5", "QGroupBox", "Resistance"},
    {"Frame6", "QGroupBox", "Temperature"},
    {"Label7", "QLabel", "S/N:"},
    {"lblInstrumentID", "QLabel", ""},
    {"lblFirmwareID", "QLabel", ""},
    {"txtLoggedDataDisplay", "QPlainTextEdit", ""},
    {"txtComsDisplay", "QPlainTextEdit", ""},
    {"txtEventLog", "QPlainTextEdit", ""},
    {"cmdClearLoggedDisplay", "QPushButton", "Clear"},
    {"cmdClearSerialDisplay", "QPushButton", "Clear"},
    {"cmdClearEventsDisplay", "QPushButton", "Clear"},
    {"StatusBar1", "QStatusBar", "?"},
};

} // namespace

TEST_F(FrmMainTest, EveryNamedControlExistsWithItsKindAndCaption) {
    EXPECT_EQ(window.objectName(), "frmMain");
    EXPECT_EQ(window.windowTitle(), "Quorvane");
    for (const auto& c : kControls) {
        SCOPED_TRACE(c.name);
        QWidget* w = find(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), c.kind);
        if (QString::fromLatin1(c.caption) != "?") {
            EXPECT_EQ(textOf(w), QString::fromLatin1(c.caption));
        }
    }
    EXPECT_EQ(window.view().cmdTestComs->caption(), "Coms Check");
}

TEST_F(FrmMainTest, ControlArraysHaveTheirIndexRangesAndRowCaptions) {
    const char* hexRows[7] = {"100K", "20K", "1", "2", "3", "4", "5"};
    for (int i = 0; i < 7; ++i) {
        auto* hex = window.findChild<QLineEdit*>(QStringLiteral("txtHex(%1)").arg(i));
        auto* dec = window.findChild<QLabel*>(QStringLiteral("lblDec(%1)").arg(i));
        ASSERT_NE(hex, nullptr);
        ASSERT_NE(dec, nullptr);
        EXPECT_EQ(hex->parentWidget()->objectName(), "Frame3");
        EXPECT_EQ(dec->parentWidget()->objectName(), "Frame4");
        EXPECT_TRUE(hex->text().isEmpty());
        // The row caption sits left of the value, on the same row.
        auto* caption = window.findChild<QLabel*>(QStringLiteral("Label%1").arg(10 + i));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text(), QString::fromLatin1(hexRows[i]));
        EXPECT_EQ(caption->y(), hex->y());
        EXPECT_LT(caption->x(), hex->x());
    }
    for (int i = 0; i < 5; ++i) {
        auto* r = window.findChild<QLabel*>(QStringLiteral("lblResistance(%1)").arg(i));
        auto* t = window.findChild<QLabel*>(QStringLiteral("lblTemperature(%1)").arg(i));
        ASSERT_NE(r, nullptr);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(r->parentWidget()->objectName(), "Frame5");
        EXPECT_EQ(t->parentWidget()->objectName(), "Frame6");
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label%1").arg(24 + i))->text(),
                  QString::number(i + 1));
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label%1").arg(29 + i))->text(),
                  QString::number(i + 1));
    }
    EXPECT_EQ(window.findChild<QWidget*>("txtHex(7)"), nullptr);
    EXPECT_EQ(window.findChild<QWidget*>("lblResistance(5)"), nullptr);
}

TEST_F(FrmMainTest, GeometryFollowsTheDesignInTwips) {
    struct Case {
        const char* name;
        int l, t, w, h; // twips
    };
    const Case cases[] = {
        {"cmdNewRun", 120, 60, 792, 432},      {"cmdRun", 1200, 60, 852, 432},
        {"cmdResume", 2340, 60, 852, 432},     {"cmdFinish", 3480, 60, 852, 432},
        {"cmdTestComs", 7620, 60, 852, 432},   {"Label1", 120, 300, 792, 252},
        {"lblFilename", 1020, 240, 7212, 312}, {"txtLogInterval", 1080, 720, 732, 312},
        {"txtHeatDelay", 3000, 720, 732, 312}, {"txtHeatTime", 4860, 720, 792, 312},
        {"txtHeatLevel", 6780, 720, 612, 312}, {"lblElapsedTime", 1080, 1260, 732, 312},
        {"Frame3", 240, 240, 1332, 2952},      {"Frame6", 5340, 960, 1512, 2232},
        {"txtHex(3)", 600, 1500, 552, 288},    {"lblTemperature(4)", 420, 1860, 972, 288},
    };
    window.show();
    QApplication::processEvents();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect expected = QRectF(c.l / 15.0, c.t / 15.0, c.w / 15.0, c.h / 15.0).toRect();
        EXPECT_EQ(geometryOf(c.name), expected);
    }
    // The run frame stretches with the client area, which is the designed one to the pixel.
    EXPECT_EQ(geometryOf("Frame1").topLeft(), QPoint(4, 40));
    EXPECT_NEAR(geometryOf("Frame1").width(), 8412 / 15.0, 1);
    EXPECT_EQ(window.centralWidget()->width(), 578);
    EXPECT_EQ(window.centralWidget()->height() + window.statusBar()->height(), qRound(7248 / 15.0));
}

TEST_F(FrmMainTest, InitialValuesBeforeAnyRunState) {
    MainView& v = window.view();
    for (TextField* f : {v.txtLogInterval, v.txtHeatDelay, v.txtHeatTime, v.txtHeatLevel}) {
        EXPECT_EQ(f->text(), "0");
    }
    for (Label* l : {v.lblFilename, v.lblElapsedTime, v.lblHeatDelayRemaining,
                     v.lblHeatTimeRemaining, v.lblInstrumentID, v.lblFirmwareID}) {
        EXPECT_EQ(l->caption(), "");
    }
    EXPECT_TRUE(v.Option1[0]->isSelected());
    EXPECT_FALSE(v.Option1[1]->isSelected());
    EXPECT_FALSE(v.chkHeaterEnabled->isChecked());
    EXPECT_EQ(window.tabs()->currentIndex(), 3);
    EXPECT_EQ(v.frmMain->caption(), "Quorvane");
    for (Button* b : {v.cmdNewRun, v.cmdRun, v.cmdResume, v.cmdFinish, v.cmdTestComs}) {
        EXPECT_TRUE(b->background().systemFace);
    }
}

TEST_F(FrmMainTest, ViewIsCompleteAndPointsAtTheWindowsControls) {
    MainView& v = window.view();
    const void* pointers[] = {v.frmMain,
                              v.cmdNewRun,
                              v.cmdRun,
                              v.cmdResume,
                              v.cmdFinish,
                              v.chkHeaterEnabled,
                              v.cmdTestComs,
                              v.Frame1,
                              v.lblFilename,
                              v.txtLogInterval,
                              v.txtHeatDelay,
                              v.txtHeatTime,
                              v.txtHeatLevel,
                              v.lblElapsedTime,
                              v.lblHeatDelayRemaining,
                              v.lblHeatTimeRemaining,
                              v.lblInstrumentID,
                              v.lblFirmwareID,
                              v.txtLoggedDataDisplay,
                              v.txtComsDisplay,
                              v.txtEventLog,
                              v.cmdClearLoggedDisplay,
                              v.cmdClearSerialDisplay,
                              v.cmdClearEventsDisplay,
                              v.tmrCheckSerialInput,
                              v.tmrOneSecond,
                              v.tmrLogInterval,
                              v.tmrHeatDelay,
                              v.tmrHeatTime,
                              v.MSComm1,
                              v.CommonDialog1};
    for (const void* p : pointers) {
        EXPECT_NE(p, nullptr);
    }
    for (auto* p : v.txtHex) {
        EXPECT_NE(p, nullptr);
    }
    for (int i = 1; i <= 7; ++i) {
        EXPECT_NE(v.StatusBar1[static_cast<std::size_t>(i)], nullptr);
    }
    EXPECT_EQ(v.StatusBar1[0], nullptr);

    // The view's controls are the widgets of those names.
    v.txtHex[4]->setText("1F2E");
    EXPECT_EQ(window.findChild<QLineEdit*>("txtHex(4)")->text(), "1F2E");
    v.lblTemperature[2]->setCaption("21.5");
    EXPECT_EQ(window.findChild<QLabel*>("lblTemperature(2)")->text(), "21.5");
    v.txtEventLog->append("line\r\n");
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("txtEventLog")->toPlainText(), "line\n");
    v.cmdClearSerialDisplay->setCaption("Wipe");
    EXPECT_EQ(window.findChild<QPushButton*>("cmdClearSerialDisplay")->text(), "Wipe");
    v.StatusBar1[6]->setText("Waiting");
    EXPECT_EQ(window.statusPanel(6).textLabel()->text(), "Waiting");
}

TEST_F(FrmMainTest, TimersStartAsDesigned) {
    MainView& v = window.view();
    EXPECT_EQ(v.tmrCheckSerialInput->interval(), 250);
    EXPECT_TRUE(v.tmrCheckSerialInput->isEnabled());
    EXPECT_TRUE(window.checkSerialInputTimer().isRunning());
    EXPECT_EQ(v.tmrOneSecond->interval(), 1000);
    EXPECT_FALSE(v.tmrOneSecond->isEnabled());
    EXPECT_EQ(v.tmrLogInterval->interval(), 0);
    EXPECT_TRUE(v.tmrLogInterval->isEnabled());
    EXPECT_FALSE(window.logIntervalTimer().isRunning());
    EXPECT_EQ(v.tmrHeatDelay->interval(), 0.0f);
    EXPECT_EQ(v.tmrHeatTime->interval(), 0.0f);
    EXPECT_FALSE(window.heatDelayTimer().isRunning());
    EXPECT_EQ(v.MSComm1->portNumber(), 2);
    EXPECT_EQ(v.MSComm1->settings(), "9600,N,8,1");
    EXPECT_FALSE(v.MSComm1->isOpen());
}

TEST_F(FrmMainTest, TabsInOrderWithEventsInFront) {
    QTabWidget* tabs = window.tabs();
    ASSERT_EQ(tabs->count(), 4);
    const char* captions[4] = {"ComputedData", "LoggedData", "Serial Line In", "Events"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), QString::fromLatin1(captions[i]));
    }
    EXPECT_EQ(tabs->currentIndex(), 3);
    EXPECT_TRUE(tabs->widget(0)->isAncestorOf(find("Frame2")));
    EXPECT_TRUE(tabs->widget(1)->isAncestorOf(find("txtLoggedDataDisplay")));
    EXPECT_TRUE(tabs->widget(1)->isAncestorOf(find("cmdClearLoggedDisplay")));
    EXPECT_TRUE(tabs->widget(2)->isAncestorOf(find("txtComsDisplay")));
    EXPECT_TRUE(tabs->widget(2)->isAncestorOf(find("cmdClearSerialDisplay")));
    EXPECT_TRUE(tabs->widget(3)->isAncestorOf(find("txtEventLog")));
    EXPECT_TRUE(tabs->widget(3)->isAncestorOf(find("cmdClearEventsDisplay")));
}

TEST_F(FrmMainTest, StatusBarHasSevenPanelsOfTheirWidths) {
    const int widths[7] = {570, 600, 300, 300, 300, 3040, 1440};
    for (int i = 1; i <= 7; ++i) {
        auto* panel =
            window.statusBar()->findChild<QWidget*>(QStringLiteral("StatusBar1(%1)").arg(i));
        ASSERT_NE(panel, nullptr) << i;
        EXPECT_EQ(panel->width(), qRound(widths[i - 1] / 15.0)) << i;
        EXPECT_EQ(window.view().StatusBar1[static_cast<std::size_t>(i)]->text(), "");
    }
    EXPECT_EQ(window.statusBar()->findChild<QWidget*>("StatusBar1(8)"), nullptr);
}

TEST_F(FrmMainTest, MenuBarWithItsMenusItemsAndSubmenus) {
    QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    const char* topNames[4] = {"mnuFileTop", "mnuport", "mnuSpeed", "mnuAbout"};
    const char* topCaptions[4] = {"File", "Serial Port", "BaudRate", "About"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(top[i]->objectName(), QString::fromLatin1(topNames[i]));
        EXPECT_EQ(top[i]->text(), QString::fromLatin1(topCaptions[i]));
    }
    EXPECT_EQ(top[3]->menu(), nullptr); // "About" is an item of its own

    auto names = [](QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) {
            out << a->objectName() + u'=' + a->text();
        }
        return out;
    };
    EXPECT_EQ(names(top[0]->menu()), QStringList({"mnuFileExit=Exit"}));
    EXPECT_EQ(names(top[1]->menu()), QStringList({"mnucom(1)=COM1", "mnucom(2)=COM2",
                                                  "mnucom(3)=COM3", "mnucom(4)=COM4"}));
    EXPECT_EQ(names(top[2]->menu()),
              QStringList({"mnuBaudRate(1)=28800", "mnuBaudRate(2)=19200", "mnuBaudRate(3)=14400",
                           "mnuBaudRate(4)=9600", "mnuBaudRate(5)=4800", "mnuBaudRate(6)=2400",
                           "mnuBaudRate(7)=1200", "mnuParity=Parity", "mnuData=Data",
                           "mnuStop=Stop Bit"}));
    QList<QAction*> speed = top[2]->menu()->actions();
    EXPECT_EQ(names(speed[7]->menu()),
              QStringList({"mnuParityBit(1)=Odd", "mnuParityBit(2)=Even", "mnuParityBit(3)=Mark",
                           "mnuParityBit(4)=Space", "mnuParityBit(5)=None"}));
    EXPECT_EQ(names(speed[8]->menu()), QStringList({"mnuDataBits(1)=7", "mnuDataBits(2)=8"}));
    EXPECT_EQ(names(speed[9]->menu()), QStringList({"mnuStopBits(1)=1", "mnuStopBits(2)=2"}));

    for (QAction* a : window.findChildren<QAction*>()) {
        EXPECT_TRUE(a->isEnabled());
        EXPECT_FALSE(a->isChecked());
    }
}

TEST_F(FrmMainTest, MenuItemsReportTheirMenuAndIndex) {
    std::vector<std::pair<MenuId, int>> clicks;
    int exits = 0;
    int abouts = 0;
    window.onMenu([&](MenuId id, int index) { clicks.emplace_back(id, index); });
    window.onExit([&] { ++exits; });
    window.onAbout([&] { ++abouts; });
    const std::pair<const char*, std::pair<MenuId, int>> cases[] = {
        {"mnucom(1)", {MenuId::Port, 1}},          {"mnucom(4)", {MenuId::Port, 4}},
        {"mnuBaudRate(1)", {MenuId::BaudRate, 1}}, {"mnuBaudRate(7)", {MenuId::BaudRate, 7}},
        {"mnuParityBit(3)", {MenuId::Parity, 3}},  {"mnuDataBits(2)", {MenuId::DataBits, 2}},
        {"mnuStopBits(1)", {MenuId::StopBits, 1}},
    };
    for (const auto& c : cases) {
        window.findChild<QAction*>(QString::fromLatin1(c.first))->trigger();
    }
    ASSERT_EQ(clicks.size(), std::size(cases));
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_EQ(clicks[i], cases[i].second) << cases[i].first;
    }
    window.findChild<QAction*>("mnuFileExit")->trigger();
    window.findChild<QAction*>("mnuAbout")->trigger();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(abouts, 1);
}

TEST_F(FrmMainTest, FocusOrderBeginsWithComsCheckAndRunsThroughTheFields) {
    const char* expected[] = {"cmdTestComs", "cmdRun",       "txtLogInterval", "txtHeatDelay",
                              "txtHeatTime", "txtHeatLevel", "SSTab1"};
    QWidget* w = find("cmdTestComs");
    QStringList seen;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        seen << w->objectName();
        // Next widget that takes the focus by Tab (the tab control's bar stands for it).
        do {
            w = w->nextInFocusChain();
        } while (!(w->focusPolicy() & Qt::TabFocus) && w != find("cmdTestComs"));
        if (w->parentWidget() == window.tabs()) {
            w = window.tabs();
        }
    }
    QStringList want;
    for (const char* e : expected) {
        want << QString::fromLatin1(e);
    }
    EXPECT_EQ(seen, want);
    EXPECT_EQ(window.focusWidget(), find("cmdTestComs"));
}

TEST_F(FrmMainTest, ResizeTagsStretchAndMoveWithTheWindow) {
    window.show();
    QApplication::processEvents();
    const QRect tab0 = window.tabs()->geometry();
    const QRect frame1 = geometryOf("Frame1");
    const QRect pane0 = geometryOf("txtEventLog");
    const QRect run0 = geometryOf("cmdRun");
    const QRect field0 = geometryOf("txtHeatDelay");
    const QRect clear0 = geometryOf("cmdClearEventsDisplay");

    window.resize(window.width() + 300, window.height() + 200);
    QApplication::processEvents();

    // "HW" / "W": the far edges keep their share of the parent, so the tab control and the
    // run frame take nearly all the growth and keep their small margins.
    const QRect tab = window.tabs()->geometry();
    EXPECT_EQ(tab.topLeft(), tab0.topLeft());
    EXPECT_NEAR(tab.width(), tab0.width() + 300, 4);
    EXPECT_NEAR(tab.height(), tab0.height() + 200, 4);
    EXPECT_LE(tab.right(), window.centralWidget()->width());
    EXPECT_EQ(geometryOf("Frame1").topLeft(), frame1.topLeft());
    EXPECT_NEAR(geometryOf("Frame1").width(), frame1.width() + 300, 10);
    EXPECT_EQ(geometryOf("Frame1").height(), frame1.height());
    const QRect pane = geometryOf("txtEventLog");
    EXPECT_EQ(pane.topLeft(), pane0.topLeft());
    EXPECT_GT(pane.width(), pane0.width() + 280);
    EXPECT_GT(pane.height(), pane0.height() + 160);
    // Untagged controls keep place and size, also inside a stretched frame.
    EXPECT_EQ(geometryOf("cmdRun"), run0);
    EXPECT_EQ(geometryOf("txtHeatDelay"), field0);

    // "XY": the Clear button keeps its size and its place under the pane's lower right.
    const QRect clear = geometryOf("cmdClearEventsDisplay");
    EXPECT_EQ(clear.size(), clear0.size());
    EXPECT_GT(clear.left(), pane.center().x());
    EXPECT_LE(clear.right(), pane.right());
    EXPECT_GT(clear.top(), pane.bottom());
    EXPECT_LE(clear.bottom(), find("txtEventLog")->parentWidget()->height());
}

// Growing the window spreads the ComputedData frames over the tab as they were designed:
// each keeps its size and the gaps between them grow; the value fields grow taller as far
// as their rows leave room.
TEST_F(FrmMainTest, ComputedDataFramesSpreadAndValueFieldsStretchWithTheWindow) {
    window.tabs()->setCurrentIndex(0);
    window.show();
    QApplication::processEvents();
    const char* frames[] = {"Frame3", "Frame4", "Frame8", "Frame5", "Frame6"};
    std::map<std::string, QRect> before;
    for (const char* name : frames) {
        before[name] = geometryOf(name);
    }
    const QRect frame20 = geometryOf("Frame2");

    window.resize(window.width() + 300, window.height() + 200);
    QApplication::processEvents();

    const QRect frame2 = geometryOf("Frame2");
    EXPECT_GT(frame2.width(), frame20.width() + 250);
    EXPECT_GT(frame2.height(), frame20.height() + 150);
    for (const char* name : frames) {
        SCOPED_TRACE(name);
        const QRect r = geometryOf(name);
        EXPECT_EQ(r.size(), before[name].size());
        EXPECT_GE(r.left(), before[name].left());
        EXPECT_GE(r.top(), before[name].top());
        EXPECT_LE(r.right(), frame2.width());
        EXPECT_LE(r.bottom(), frame2.height());
    }
    // The first column stays at the left, the top row at the top: nothing bunches up.
    EXPECT_LT(geometryOf("Frame3").left() - before["Frame3"].left(), 30);
    EXPECT_LT(geometryOf("Frame3").top() - before["Frame3"].top(), 30);
    EXPECT_EQ(geometryOf("Frame3").top(), geometryOf("Frame8").top());
    EXPECT_EQ(geometryOf("Frame8").left(), geometryOf("Frame5").left());
    // Neighbours: left / upper one, right / lower one, and how much their gap grows at least.
    struct Gap {
        const char* first;
        const char* second;
        bool horizontal;
        int grows;
    };
    const Gap gaps[] = {
        {"Frame3", "Frame4", true, 30},  {"Frame4", "Frame5", true, 30},
        {"Frame5", "Frame6", true, 30},  {"Frame4", "Frame8", true, 30},
        {"Frame8", "Frame5", false, 20},
    };
    auto gapOf = [](const QRect& a, const QRect& b, bool horizontal) {
        return horizontal ? b.left() - a.right() : b.top() - a.bottom();
    };
    for (const Gap& g : gaps) {
        SCOPED_TRACE(std::string(g.first) + " / " + g.second);
        EXPECT_GE(gapOf(geometryOf(g.first), geometryOf(g.second), g.horizontal),
                  gapOf(before[g.first], before[g.second], g.horizontal) + g.grows);
    }

    // "H" fields: taller, all of one frame alike, never over the next row or out of the frame.
    struct Column {
        const char* name;
        int rows;
    };
    for (const Column& c : {Column{"txtHex", 7}, Column{"lblDec", 7}, Column{"lblResistance", 5},
                            Column{"lblTemperature", 5}}) {
        SCOPED_TRACE(c.name);
        auto row = [&](int i) {
            return geometryOf((std::string(c.name) + "(" + std::to_string(i) + ")").c_str());
        };
        const QWidget* frame = find(QString::fromLatin1(c.name) + "(0)")->parentWidget();
        EXPECT_GT(row(0).height(), qRound(288 / 15.0));
        for (int i = 0; i < c.rows; ++i) {
            EXPECT_EQ(row(i).height(), row(0).height()) << i;
            EXPECT_LT(row(i).bottom(), i + 1 < c.rows ? row(i + 1).top() : frame->height()) << i;
        }
    }
}

// Growing and shrinking back gives the designed layout to the pixel, whatever was in front.
TEST_F(FrmMainTest, ResizingBackRestoresEveryControl) {
    window.show();
    QApplication::processEvents();
    const QSize designed = window.size();
    for (int tab = 0; tab < 4; ++tab) { // a page gets its size when first shown
        window.tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
    }
    std::map<QWidget*, QRect> before;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty()) {
            before[w] = w->geometry();
        }
    }
    for (QSize step : {QSize(420, 260), QSize(90, 400), QSize(-60, -40)}) {
        window.resize(designed + step);
        QApplication::processEvents();
        window.tabs()->setCurrentIndex((window.tabs()->currentIndex() + 1) % 4);
        QApplication::processEvents();
    }
    window.resize(designed);
    QApplication::processEvents();
    for (int tab = 0; tab < 4; ++tab) {
        window.tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
    }
    for (const auto& [w, geometry] : before) {
        EXPECT_EQ(w->geometry(), geometry) << w->objectName().toStdString();
    }
}

TEST_F(FrmMainTest, HiddenTabIsLaidOutForTheCurrentSizeWhenShown) {
    window.show();
    QApplication::processEvents();
    window.resize(window.width() + 150, window.height() + 90);
    QApplication::processEvents();
    const QRect shownPane = geometryOf("txtEventLog");
    const QRect shownClear = geometryOf("cmdClearEventsDisplay");

    // The serial tab was hidden during the resize; shown, it is laid out as the Events tab.
    window.tabs()->setCurrentIndex(2);
    QApplication::processEvents();
    EXPECT_EQ(geometryOf("txtComsDisplay"), shownPane);
    EXPECT_EQ(geometryOf("cmdClearSerialDisplay"), shownClear);

    // ComputedData, hidden during the resize, shows as it does when resized in front.
    window.tabs()->setCurrentIndex(0);
    QApplication::processEvents();
    const char* names[] = {"Frame2", "Frame3",    "Frame6",
                           "Frame8", "txtHex(0)", "lblTemperature(4)"};
    std::map<std::string, QRect> hidden;
    for (const char* name : names) {
        hidden[name] = geometryOf(name);
    }
    EXPECT_EQ(hidden["Frame2"].topLeft(), QPoint(8, 12));
    window.resize(window.width() - 150, window.height() - 90);
    QApplication::processEvents();
    window.resize(window.width() + 150, window.height() + 90);
    QApplication::processEvents();
    for (const char* name : names) {
        EXPECT_EQ(geometryOf(name), hidden[name]) << name;
    }
}

TEST_F(FrmMainTest, ResizeTagsAsDesigned) {
    const std::pair<const char*, const char*> cases[] = {
        {"SSTab1", "HW"},
        {"Frame2", "HW"},
        {"txtLoggedDataDisplay", "HW"},
        {"txtComsDisplay", "HW"},
        {"txtEventLog", "HW"},
        {"Frame1", "W"},
        {"Frame3", "XY"},
        {"Frame4", "XY"},
        {"Frame5", "XY"},
        {"Frame6", "XY"},
        {"Frame8", "XY"},
        {"cmdClearLoggedDisplay", "XY"},
        {"cmdClearSerialDisplay", "XY"},
        {"cmdClearEventsDisplay", "XY"},
        {"txtHex(0)", "H"},
        {"txtHex(6)", "H"},
        {"lblDec(3)", "H"},
        {"lblResistance(4)", "H"},
        {"lblTemperature(0)", "H"},
        {"cmdRun", ""},
        {"txtLogInterval", ""},
        {"lblFilename", ""},
        {"Option1(0)", ""},
        {"Frame7", ""},
    };
    for (const auto& [name, tag] : cases) {
        EXPECT_EQ(window.resizer().tagOf(find(QString::fromLatin1(name))), QString::fromLatin1(tag))
            << name;
    }
}

TEST_F(FrmMainTest, UnloadRunsOnceWhenTheWindowCloses) {
    int unloads = 0;
    window.onUnload([&] { ++unloads; });
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(unloads, 1);
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(unloads, 1);
}
