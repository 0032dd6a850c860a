#pragma once

#include "instrument/CommandSender.h"
#include "logging/EventLog.h"
#include "platform/MainView.h"
#include "run/RecordWatchdog.h"
#include "run/RunFlags.h"
#include "run/RunStateView.h"

namespace quorvane {

// Abandons a started run whenever something it was made of changes.
class RunReset {
public:
    RunReset(MainView& view, RunFlags& flags, RunStateView& states, CommandSender& commands,
             EventLog& events, RecordWatchdog& watchdog);

    // Stops the four run timers and the watch for records, returns to Idle when a run had been
    // started, and sends the Coms Check in any case.
    void resetRun();
    // Click of "Allow Heater Commands".
    void heaterEnabledClicked();

private:
    MainView& m_view;
    RunFlags& m_flags;
    RunStateView& m_states;
    CommandSender& m_commands;
    EventLog& m_events;
    RecordWatchdog& m_watchdog;
};

} // namespace quorvane
