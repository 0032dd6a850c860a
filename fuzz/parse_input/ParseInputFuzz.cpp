// Arbitrary bytes in arbitrary chunks through the poll and the parsing pass. The first
// byte of each chunk header gives its length, so the fuzzer controls the split.
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeTextFiles.h"
#include "instrument/InputParser.h"
#include "instrument/RecordDecoder.h"
#include "instrument/SerialPoller.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "run/RunFlags.h"

#include <cstdint>
#include <cstdlib>

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock(timeline);
    fakes::FakeMainView ui(timeline);
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    RunFlags flags;
    OutputFile output{"/d/", "f.log", 0};
    EventLog eventLog(clock, sysTime, ui.txtEventLog, files, dialogs, "/e.log");
    DataLog dataLog(files, dialogs, output);
    RecordDecoder decoder(dialogs);
    InputParser parser(ui.view(), flags, sysTime, clock, decoder, eventLog, dataLog, dialogs);
    SerialPoller poller(ui.MSComm1, ui.txtComsDisplay, parser);
    ui.MSComm1.open();
    if (size > 0 && (data[0] & 1)) {
        ui.Option1[1].setSelected(true);
    }
    std::size_t at = 1;
    std::string received;
    while (at < size) {
        const std::size_t chunk = std::min<std::size_t>(1 + data[at] % 64, size - at - 1);
        ++at;
        const std::string bytes(reinterpret_cast<const char*>(data + at), chunk);
        received += bytes;
        ui.MSComm1.receive(bytes);
        poller.tick();
        at += chunk;
    }
    // Nothing complete may be left behind, and the pane holds exactly what arrived.
    if (parser.inputBuffer().find("\r\n") != std::string_view::npos) {
        std::abort();
    }
    if (ui.txtComsDisplay.text() != received) {
        std::abort();
    }
    return 0;
}
