#pragma once

#include "fakes/FakeButton.h"
#include "fakes/FakeCheckBox.h"
#include "fakes/FakeFileChooser.h"
#include "fakes/FakeFrame.h"
#include "fakes/FakeLabel.h"
#include "fakes/FakeOptionButton.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeStatusPanel.h"
#include "fakes/FakeTextField.h"
#include "fakes/FakeTextPane.h"
#include "fakes/FakeTimeline.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeWindowFrame.h"
#include "platform/MainView.h"

namespace quorvane::fakes {

// Every control of the main window as a fake, with the designed initial values, and the
// MainView that points at them.
class FakeMainView {
public:
    explicit FakeMainView(FakeTimeline& timeline);
    FakeMainView(const FakeMainView&) = delete;
    FakeMainView& operator=(const FakeMainView&) = delete;

    MainView& view() { return m_view; }

    FakeWindowFrame frmMain;
    FakeButton cmdNewRun{"Initialize"};
    FakeButton cmdRun{"Start Run"};
    FakeButton cmdResume{"Resume"};
    FakeButton cmdFinish{"Finish Run"};
    FakeCheckBox chkHeaterEnabled;
    FakeButton cmdTestComs{"Coms Check"};

    FakeFrame Frame1;
    FakeLabel lblFilename;
    FakeTextField txtLogInterval{"0"};
    FakeTextField txtHeatDelay{"0"};
    FakeTextField txtHeatTime{"0"};
    FakeTextField txtHeatLevel{"0"};
    FakeLabel lblElapsedTime;
    FakeLabel lblHeatDelayRemaining;
    FakeLabel lblHeatTimeRemaining;
    FakeOptionButton Option1[2];

    FakeTextField txtHex[7];
    FakeLabel lblDec[7];
    FakeLabel lblInstrumentID;
    FakeLabel lblFirmwareID;
    FakeLabel lblResistance[5];
    FakeLabel lblTemperature[5];

    FakeTextPane txtLoggedDataDisplay;
    FakeTextPane txtComsDisplay;
    FakeTextPane txtEventLog;
    FakeButton cmdClearLoggedDisplay{"Clear"};
    FakeButton cmdClearSerialDisplay{"Clear"};
    FakeButton cmdClearEventsDisplay{"Clear"};

    FakeStatusPanel StatusBar1[8];

    FakeTimer tmrCheckSerialInput;
    FakeTimer tmrOneSecond;
    FakeTimer tmrLogInterval;
    FakeLongTimer tmrHeatDelay;
    FakeLongTimer tmrHeatTime;
    FakeSerialPort MSComm1;
    FakeFileChooser CommonDialog1;

private:
    MainView m_view;
};

} // namespace quorvane::fakes
