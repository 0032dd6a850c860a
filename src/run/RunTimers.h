#pragma once

#include "instrument/CommandSender.h"
#include "logging/EventLog.h"
#include "platform/MainView.h"
#include "run/RunFlags.h"

namespace quorvane {

// The handlers of the four run timers.
class RunTimers {
public:
    RunTimers(MainView& view, RunFlags& flags, CommandSender& commands, EventLog& events);

    // Heater on for the heat time, unless the heat time is 0. Also run directly by Start
    // Run when the heat delay is 0.
    void heatDelayExpired();
    // Heater off; the heat cycle counts as complete even when the command failed.
    void heatTimeExpired();
    void logIntervalTick();
    // Counts the remaining heat delay or heat time down and the elapsed time up. The
    // counts are 32-bit: heat delays and times reach 86400 s.
    void oneSecondTick();

private:
    MainView& m_view;
    RunFlags& m_flags;
    CommandSender& m_commands;
    EventLog& m_events;
};

} // namespace quorvane
