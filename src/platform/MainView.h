#pragma once

#include "platform/Button.h"
#include "platform/CheckBox.h"
#include "platform/FileChooser.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/LongTimer.h"
#include "platform/MainWindowFrame.h"
#include "platform/OptionButton.h"
#include "platform/SerialPort.h"
#include "platform/StatusPanel.h"
#include "platform/TextField.h"
#include "platform/TextPane.h"
#include "platform/Timer.h"

#include <array>

namespace quorvane {

// The main window's controls as the logic sees them, by their names. The real window and
// the test fakes both fill this in; the logic never sees a widget.
struct MainView {
    MainWindowFrame* frmMain = nullptr;

    // Top band.
    Button* cmdNewRun = nullptr;
    Button* cmdRun = nullptr;
    Button* cmdResume = nullptr;
    Button* cmdFinish = nullptr;
    CheckBox* chkHeaterEnabled = nullptr;
    Button* cmdTestComs = nullptr;

    // Run frame.
    Frame* Frame1 = nullptr;
    Label* lblFilename = nullptr;
    TextField* txtLogInterval = nullptr;
    TextField* txtHeatDelay = nullptr;
    TextField* txtHeatTime = nullptr;
    TextField* txtHeatLevel = nullptr;
    Label* lblElapsedTime = nullptr;
    Label* lblHeatDelayRemaining = nullptr;
    Label* lblHeatTimeRemaining = nullptr;
    std::array<OptionButton*, 2> Option1{}; // 0 "Log Hex", 1 "Log Temperature"

    // ComputedData tab.
    std::array<TextField*, 7> txtHex{};
    std::array<Label*, 7> lblDec{};
    Label* lblInstrumentID = nullptr;
    Label* lblFirmwareID = nullptr;
    std::array<Label*, 5> lblResistance{};
    std::array<Label*, 5> lblTemperature{};

    // The three panes and their Clear buttons.
    TextPane* txtLoggedDataDisplay = nullptr;
    TextPane* txtComsDisplay = nullptr;
    TextPane* txtEventLog = nullptr;
    Button* cmdClearLoggedDisplay = nullptr;
    Button* cmdClearSerialDisplay = nullptr;
    Button* cmdClearEventsDisplay = nullptr;

    // Status bar panels, numbered from 1 (index 0 is unused).
    std::array<StatusPanel*, 8> StatusBar1{};

    // Controls without a place on screen.
    Timer* tmrCheckSerialInput = nullptr;
    Timer* tmrOneSecond = nullptr;
    Timer* tmrLogInterval = nullptr;
    LongTimer* tmrHeatDelay = nullptr;
    LongTimer* tmrHeatTime = nullptr;
    SerialPort* MSComm1 = nullptr;
    FileChooser* CommonDialog1 = nullptr;
};

} // namespace quorvane
