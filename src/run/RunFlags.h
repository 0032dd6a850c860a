#pragma once

namespace quorvane {

// What a run remembers between events. All cleared at start-up.
struct RunFlags {
    bool runInProgress = false;     // a run is logging
    bool runStarted = false;        // a run was started since the last reset
    bool heatCycleComplete = false; // the heat-time timer of this run has expired
    bool heaterOn = false;          // the heater was last commanded on
};

} // namespace quorvane
