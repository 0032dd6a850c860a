#pragma once

#include "fakes/FakeAppInfo.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeTextFiles.h"
#include "fakes/FakeTimeline.h"
#include "formatter/Formatter.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "logging/OutputFile.h"
#include "run/RunController.h"
#include "run/RunFlags.h"

#include <string>
#include <vector>

namespace quorvane::testing {

// The run controller on a complete fake window, as the start-up code builds it.
struct RunRig {
    static constexpr const char* kEventFile = "/opt/quorvane/QuorvaneEvents.log";
    static constexpr const char* kDataFile = "/data/run1.log";

    fakes::FakeTimeline timeline;
    fakes::FakeMainView ui{timeline};
    fakes::FakeClock clock{timeline};
    SystemTime sysTime;
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeAppInfo app;
    fakes::FakeEventPump pump;
    RunFlags flags;
    OutputFile output;
    EventLog events{clock, sysTime, ui.txtEventLog, files, dialogs, kEventFile};
    DataLog dataLog{files, dialogs, output};
    Formatter formatter{dialogs};
    fakes::FakeTimer watchTimer{timeline};
    RunController run{ui.view(), flags, output, events, dataLog,    formatter,
                      dialogs,   app,   pump,   files,  watchTimer, clock};

    RunRig() {
        ui.chkHeaterEnabled.setChecked(true);
        run.setGuiState(0);
        forget();
    }

    // Forgets what was written, logged and shown so far.
    void forget() {
        ui.MSComm1.clearWritten();
        ui.txtEventLog.setText(std::string());
        dialogs.clear();
    }

    // Sets the parameters, chooses the data file and leaves the window Ready (state 1).
    void ready(const std::string& logInterval, const std::string& heatDelay,
               const std::string& heatTime, const std::string& heatLevel = "100",
               bool heaterEnabled = true) {
        ui.txtLogInterval.setText(logInterval);
        ui.txtHeatDelay.setText(heatDelay);
        ui.txtHeatTime.setText(heatTime);
        ui.txtHeatLevel.setText(heatLevel);
        if (ui.chkHeaterEnabled.isChecked() != heaterEnabled) {
            ui.chkHeaterEnabled.click();
        }
        ui.CommonDialog1.answer = kDataFile;
        ui.cmdNewRun.click();
        forget();
    }

    void advanceSeconds(int seconds) {
        timeline.advance(static_cast<std::int64_t>(seconds) * 1000);
    }

    // The Events pane's lines without their time stamps.
    std::vector<std::string> eventTexts() const {
        std::vector<std::string> out;
        const std::string text = ui.txtEventLog.text();
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find("\r\n", at);
            const std::string line = text.substr(at, end - at);
            out.push_back(line.size() > 22 ? line.substr(22) : line);
            if (end == std::string::npos) {
                break;
            }
            at = end + 2;
        }
        return out;
    }

    std::string status() const { return ui.StatusBar1[6].text(); }
};

inline const std::vector<std::string> kComsCheckEvents{"Sent wakeup command", "Sent N command"};

inline std::vector<std::string> concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
inline const std::vector<std::string> kComsCheckWrites{"#HFN", "#HFH"};

} // namespace quorvane::testing
