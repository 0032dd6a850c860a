#pragma once

#include "formatter/Formatter.h"
#include "instrument/CommandSender.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "logging/OutputFile.h"
#include "logging/OutputFileDialog.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/MainView.h"
#include "platform/TextFiles.h"
#include "platform/Timer.h"
#include "run/ParameterEntry.h"
#include "run/RecordWatchdog.h"
#include "run/RunFlags.h"
#include "run/RunLifecycle.h"
#include "run/RunReset.h"
#include "run/RunStateView.h"
#include "run/RunTimers.h"

#include <cstdint>

namespace quorvane {

// Run control as one piece: owns the run states, the command sender, the missed-record
// watchdog, the reset, the timer handlers, the output file choice, the run lifecycle and the
// parameter entry, and wires
// the reactions of the run controls on the view when it is built.
class RunController {
public:
    RunController(MainView& view, RunFlags& flags, OutputFile& outputFile, EventLog& events,
                  DataLog& dataLog, Formatter& fieldFormatter, Dialogs& dialogs, const AppInfo& app,
                  EventPump& pump, TextFiles& files, Timer& watchTimer, const Clock& clock);
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    void comsCheck() { m_commands.comsCheck(); }
    bool sendHeaterOffNow() { return m_commands.sendHeaterOffNow(); }
    void setGuiState(std::int16_t state) { m_states.setGuiState(state); }
    void resetRun() { m_reset.resetRun(); }

    CommandSender& commands() { return m_commands; }
    RunStateView& states() { return m_states; }
    RunLifecycle& lifecycle() { return m_lifecycle; }
    RunTimers& timers() { return m_timers; }
    ParameterEntry& parameters() { return m_parameters; }
    RecordWatchdog& watchdog() { return m_watchdog; }

private:
    void connectControls(MainView& view);

    RunStateView m_states;
    CommandSender m_commands;
    RecordWatchdog m_watchdog;
    RunReset m_reset;
    RunTimers m_timers;
    OutputFileDialog m_outputDialog;
    RunLifecycle m_lifecycle;
    ParameterEntry m_parameters;
};

} // namespace quorvane
