#pragma once

#include "platform/MainView.h"
#include "shell/MenuId.h"
#include "shell/QtButton.h"
#include "shell/QtCheckBox.h"
#include "shell/QtFileChooser.h"
#include "shell/QtFrame.h"
#include "shell/QtLabel.h"
#include "shell/QtLongTimer.h"
#include "shell/QtOptionButton.h"
#include "shell/QtSerialPort.h"
#include "shell/QtStatusPanel.h"
#include "shell/QtTextField.h"
#include "shell/QtTextPane.h"
#include "shell/QtTimer.h"
#include "shell/QtWindowFrame.h"
#include "shell/Resizer.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QGroupBox;
class QMenu;
class QTabWidget;

namespace quorvane {

class SettingsStore;

// The main window, object name "frmMain": every control with the name the logic knows it
// by, the menu bar, the status bar, the timers, the serial port and the file chooser. The
// logic reaches the controls only through view().
//
// Object names: each control carries its name; an element of a control array carries the
// name followed by its index in parentheses: "txtHex(0)" to "txtHex(6)", "lblDec(0)",
// "lblResistance(0)", "lblTemperature(0)", "Option1(0)", "Option1(1)", the menu items
// "mnucom(1)" to "mnucom(4)", "mnuBaudRate(1)", "mnuParityBit(1)", "mnuDataBits(1)",
// "mnuStopBits(1)", and the status panels "StatusBar1(1)" to "StatusBar1(7)".
//
// Geometry is designed in twips; 15 twips make a pixel.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr double kTwipsPerPixel = 15.0;
    static constexpr int kEventsTab = 3;

    // portPaths: where the serial port finds the device path of each port number
    // ("Ports"/"COM<n>"); may be null (then /dev/ttyS<n-1>).
    explicit FrmMain(SettingsStore* portPaths = nullptr, QWidget* parent = nullptr);
    ~FrmMain() override;

    MainView& view() { return m_view; }
    MainWindowFrame& windowFrame() { return m_frame; }

    // A click on an item of a serial menu, with the item's index (from 1).
    void onMenu(std::function<void(MenuId menu, int index)> reaction) {
        m_menu = std::move(reaction);
    }
    // File > Exit.
    void onExit(std::function<void()> reaction) { m_exit = std::move(reaction); }
    // The "About" menu.
    void onAbout(std::function<void()> reaction) { m_about = std::move(reaction); }
    // The window is closing, however it was closed; runs once and never refuses.
    void onUnload(std::function<void()> reaction) { m_unload = std::move(reaction); }

    // True once the window has been closed (its unload has run).
    bool isUnloaded() const { return m_unloaded; }

    Resizer& resizer() { return m_resizer; }
    QtSerialPort& serialPort() { return m_MSComm1; }
    QtFileChooser& fileChooser() { return m_CommonDialog1; }
    QtTimer& checkSerialInputTimer() { return m_tmrCheckSerialInput; }
    QtTimer& oneSecondTimer() { return m_tmrOneSecond; }
    QtTimer& logIntervalTimer() { return m_tmrLogInterval; }
    QtLongTimer& heatDelayTimer() { return m_tmrHeatDelay; }
    QtLongTimer& heatTimeTimer() { return m_tmrHeatTime; }
    QtStatusPanel& statusPanel(int number) {
        return *m_panels.at(static_cast<std::size_t>(number - 1));
    }
    QTabWidget* tabs() const { return m_SSTab1; }
    // The arrangement is drawn for the default dialog font at 8 points; larger system
    // fonts would not fit the captions into their places.
    static constexpr double kDesignFontPoints = 8;
    static QFont designFont();
    // The client area as designed (twips / 15), without menu bar.
    static QSize designClientSize();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTopBand(QWidget* central, const QSizeF& centralSize);
    void buildRunFrame(QWidget* central, const QSizeF& centralSize);
    void buildTabs(QWidget* central, const QSizeF& centralSize);
    void buildComputedData(QWidget* page, const QSizeF& pageSize);
    void buildPaneTab(QWidget* page, const QSizeF& pageSize, const char* paneName,
                      const char* clearName, QtTextPane::Encoding encoding);
    void buildStatusBar();
    void buildMenus();
    void buildFocusOrder();
    void fillView();

    // Places a control from its designed geometry in twips, with its resize tag.
    void place(QWidget* control, double left, double top, double width, double height,
               const QSizeF& parentSize, const QString& tag = {});
    QAction* addMenuItem(QMenu* menu, const QString& name, int index, const QString& caption,
                         MenuId id);
    QtButton* adoptButton(QWidget* button);
    QtLabel* adoptLabel(QWidget* label);
    QtTextField* adoptField(QWidget* field);

    void handleTabChanged(int index);

    Resizer m_resizer;
    QtWindowFrame m_frame;
    QTabWidget* m_SSTab1 = nullptr;

    std::vector<std::unique_ptr<QtButton>> m_buttons;
    std::vector<std::unique_ptr<QtLabel>> m_labels;
    std::vector<std::unique_ptr<QtTextField>> m_fields;
    std::vector<std::unique_ptr<QtTextPane>> m_panes;
    std::vector<std::unique_ptr<QtStatusPanel>> m_panels;
    std::unique_ptr<QtCheckBox> m_chkHeaterEnabled;
    std::array<std::unique_ptr<QtOptionButton>, 2> m_Option1;
    std::unique_ptr<QtFrame> m_Frame1;

    QtTimer m_tmrCheckSerialInput{250, true};
    QtTimer m_tmrOneSecond{1000, false};
    QtTimer m_tmrLogInterval{0, true};
    QtLongTimer m_tmrHeatDelay;
    QtLongTimer m_tmrHeatTime;
    QtSerialPort m_MSComm1;
    QtFileChooser m_CommonDialog1;

    MainView m_view;
    std::function<void(MenuId, int)> m_menu;
    std::function<void()> m_exit;
    std::function<void()> m_about;
    std::function<void()> m_unload;
    bool m_unloaded = false;
};

} // namespace quorvane
