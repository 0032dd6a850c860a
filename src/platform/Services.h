#pragma once

#include "platform/AppInfo.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/SettingsStore.h"
#include "platform/TextFiles.h"
#include "platform/Timer.h"

namespace quorvane {

// The platform services the logic uses besides the window's controls.
struct Services {
    Clock* clock = nullptr;
    TextFiles* files = nullptr;
    Dialogs* dialogs = nullptr;
    SettingsStore* settings = nullptr;
    AppInfo* app = nullptr;
    EventPump* events = nullptr;
    // Drives the watch for missed data records during a run.
    Timer* recordWatchTimer = nullptr;
};

} // namespace quorvane
