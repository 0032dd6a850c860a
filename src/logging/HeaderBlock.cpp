#include "logging/HeaderBlock.h"

#include "platform/MainView.h"

namespace quorvane {

HeaderValues headerValuesFrom(const MainView& view) {
    HeaderValues v;
    v.instrumentId = view.lblInstrumentID->caption();
    v.firmware = view.lblFirmwareID->caption();
    v.heatDelay = view.txtHeatDelay->text();
    v.heatTime = view.txtHeatTime->text();
    v.heatLevel = view.txtHeatLevel->text();
    v.heaterEnabled = view.chkHeaterEnabled->isChecked();
    v.rawHex = view.Option1[0]->isSelected();
    v.logInterval = view.txtLogInterval->text();
    v.logfile = view.lblFilename->caption();
    return v;
}

std::vector<std::string> headerBlock(const HeaderValues& v) {
    return {
        "# Instrument: " + v.instrumentId,
        "# Firmware: " + v.firmware,
        "# Delay: " + v.heatDelay,
        "# HeatDuration: " + v.heatTime,
        "# PowerLevel: " + v.heatLevel,
        v.heaterEnabled ? "# HeaterEnabled: Yes" : "# HeaterEnabled: No",
        v.rawHex ? "# DataType: RawHex" : "# DataType: Temperature",
        "# PowerLevel: " + v.heatLevel,
        "# LogInterval: " + v.logInterval,
        "# Logfile: " + v.logfile,
        v.rawHex ? "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr"
                 : "# Date        Time     TTop    T2     T3     T4    TBot Htr",
    };
}

} // namespace quorvane
