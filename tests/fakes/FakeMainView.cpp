#include "fakes/FakeMainView.h"

namespace quorvane::fakes {

FakeMainView::FakeMainView(FakeTimeline& timeline)
    : tmrCheckSerialInput(timeline, 250, true), tmrOneSecond(timeline, 1000, false),
      tmrLogInterval(timeline, 0, true), tmrHeatDelay(timeline), tmrHeatTime(timeline) {
    FakeOptionButton::link(Option1[0], Option1[1]);
    Option1[0].setSelected(true);

    MainView& v = m_view;
    v.frmMain = &frmMain;
    v.cmdNewRun = &cmdNewRun;
    v.cmdRun = &cmdRun;
    v.cmdResume = &cmdResume;
    v.cmdFinish = &cmdFinish;
    v.chkHeaterEnabled = &chkHeaterEnabled;
    v.cmdTestComs = &cmdTestComs;
    v.Frame1 = &Frame1;
    v.lblFilename = &lblFilename;
    v.txtLogInterval = &txtLogInterval;
    v.txtHeatDelay = &txtHeatDelay;
    v.txtHeatTime = &txtHeatTime;
    v.txtHeatLevel = &txtHeatLevel;
    v.lblElapsedTime = &lblElapsedTime;
    v.lblHeatDelayRemaining = &lblHeatDelayRemaining;
    v.lblHeatTimeRemaining = &lblHeatTimeRemaining;
    v.Option1 = {&Option1[0], &Option1[1]};
    for (int i = 0; i < 7; ++i) {
        v.txtHex[i] = &txtHex[i];
        v.lblDec[i] = &lblDec[i];
    }
    v.lblInstrumentID = &lblInstrumentID;
    v.lblFirmwareID = &lblFirmwareID;
    for (int i = 0; i < 5; ++i) {
        v.lblResistance[i] = &lblResistance[i];
        v.lblTemperature[i] = &lblTemperature[i];
    }
    v.txtLoggedDataDisplay = &txtLoggedDataDisplay;
    v.txtComsDisplay = &txtComsDisplay;
    v.txtEventLog = &txtEventLog;
    v.cmdClearLoggedDisplay = &cmdClearLoggedDisplay;
    v.cmdClearSerialDisplay = &cmdClearSerialDisplay;
    v.cmdClearEventsDisplay = &cmdClearEventsDisplay;
    for (int i = 1; i <= 7; ++i) {
        v.StatusBar1[i] = &StatusBar1[i];
    }
    v.tmrCheckSerialInput = &tmrCheckSerialInput;
    v.tmrOneSecond = &tmrOneSecond;
    v.tmrLogInterval = &tmrLogInterval;
    v.tmrHeatDelay = &tmrHeatDelay;
    v.tmrHeatTime = &tmrHeatTime;
    v.MSComm1 = &MSComm1;
    v.CommonDialog1 = &CommonDialog1;
}

} // namespace quorvane::fakes
