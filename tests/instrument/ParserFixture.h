#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeTextFiles.h"
#include "instrument/InputParser.h"
#include "instrument/RecordDecoder.h"
#include "instrument/SerialPoller.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "logging/OutputFile.h"
#include "run/RunFlags.h"

#include <gtest/gtest.h>

namespace quorvane::testing {

inline const std::string kPayload = " 0A1B 6000 2000 5000 3000 2001 6000 2000";
inline std::string record(const std::string& payload = kPayload) {
    return std::string(":\x03T") + payload + "\r\n";
}

// The parsing path wired as in the window, on fakes.
class ParserFixture : public ::testing::Test {
protected:
    ParserFixture() {
        output.outputDirectory = "/data/";
        output.outputFileName = "run.log";
        ui.MSComm1.open();
    }

    std::string dataFile() const { return files.content("/data/run.log"); }
    std::string eventFile() const { return files.content("/opt/quorvane/QuorvaneEvents.log"); }
    void receive(const std::string& bytes) {
        ui.MSComm1.receive(bytes);
        poller.tick();
    }

    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeMainView ui{timeline};
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    RunFlags flags;
    OutputFile output;
    EventLog eventLog{clock, sysTime, ui.txtEventLog,
                      files, dialogs, "/opt/quorvane/QuorvaneEvents.log"};
    DataLog dataLog{files, dialogs, output};
    RecordDecoder decoder{dialogs};
    InputParser parser{ui.view(), flags, sysTime, clock, decoder, eventLog, dataLog, dialogs};
    SerialPoller poller{ui.MSComm1, ui.txtComsDisplay, parser};
};

} // namespace quorvane::testing
