#pragma once

#include "StartupRig.h"
#include "shell/MainController.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quorvane::testing {

inline const std::string kEventFile = "/opt/quorvane/QuorvaneEvents.log";
inline const std::string kDataFile = "/data/run.log";
inline const std::string kRecord = ":\x03T 0001 2A80 0380 1000 1100 1200 1300 1400\r\n";

inline std::size_t countOf(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
}

inline bool contains(const std::vector<std::string>& items, const std::string& item) {
    return countOf(items, item) > 0;
}

// A loaded window on fakes with a run started: log interval 1 s, the given heat delay and
// heat time, level 120, heater commands allowed.
struct RunningRig {
    explicit RunningRig(int heatDelay = 2, int heatTime = 3, bool heaterAllowed = true) {
        controller.load();
        rig.ui.chkHeaterEnabled.setChecked(heaterAllowed);
        rig.ui.txtLogInterval.setText("1");
        rig.ui.txtHeatDelay.setText(std::to_string(heatDelay));
        rig.ui.txtHeatTime.setText(std::to_string(heatTime));
        rig.ui.txtHeatLevel.setText("120");
        rig.ui.CommonDialog1.answer = kDataFile;
        rig.ui.cmdNewRun.click();
        rig.ui.MSComm1.clearWritten();
    }
    void startRun() {
        rig.ui.cmdRun.click();
        rig.ui.MSComm1.clearWritten();
    }
    std::vector<std::string> writes() const { return rig.ui.MSComm1.writes(); }
    std::string status() const { return rig.ui.StatusBar1[6].text(); }

    StartupRig rig;
    MainController controller{rig.ui.view(), rig.services};
};

} // namespace quorvane::testing
