#pragma once

#include "fakes/FakeAppInfo.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTextFiles.h"
#include "platform/Services.h"

#include <sstream>
#include <string>
#include <vector>

namespace quorvane::testing {

// The window's owner on fakes, as the real window builds it.
struct StartupRig {
    StartupRig() {
        services.clock = &clock;
        services.files = &files;
        services.dialogs = &dialogs;
        services.settings = &store;
        services.app = &app;
        services.events = &pump;
        services.recordWatchTimer = &watchTimer;
    }
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        std::istringstream in(ui.txtEventLog.text());
        std::string line;
        while (std::getline(in, line)) {
            out.push_back(line.substr(22, line.size() - 23)); // drop stamp and CR
        }
        return out;
    }

    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeMainView ui{timeline};
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeSettingsStore store;
    fakes::FakeAppInfo app{"/opt/quorvane"};
    fakes::FakeEventPump pump;
    fakes::FakeTimer watchTimer{timeline};
    Services services;
};

} // namespace quorvane::testing
