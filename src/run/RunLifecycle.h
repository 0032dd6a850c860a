#pragma once

#include "instrument/CommandSender.h"
#include "logging/DataLog.h"
#include "logging/EventLog.h"
#include "logging/OutputFile.h"
#include "logging/OutputFileDialog.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/MainView.h"
#include "run/RecordWatchdog.h"
#include "run/RunFlags.h"
#include "run/RunReset.h"
#include "run/RunStateView.h"
#include "run/RunTimers.h"

namespace quorvane {

// The operations behind the four run buttons. None checks the state: the buttons' enabled
// flags are the guard.
class RunLifecycle {
public:
    struct Collaborators {
        RunStateView& states;
        CommandSender& commands;
        RunReset& reset;
        RunTimers& timers;
        OutputFileDialog& outputDialog;
        RecordWatchdog& watchdog;
    };

    RunLifecycle(MainView& view, RunFlags& flags, OutputFile& outputFile, EventLog& events,
                 DataLog& dataLog, Dialogs& dialogs, EventPump& pump, Collaborators parts);

    // Initialize / Next Run.
    void initialize();
    // True when no file was chosen or the choice failed.
    bool setOutputFile();
    void startRun();
    void finishRun();
    void resumeRun();

private:
    struct Parameters {
        std::int32_t logInterval = 0;
        std::int32_t heatDelay = 0;
    };
    // Refuses (with a message, focus on the field) parameters that are no whole numbers
    // in range; such texts can come from the settings store, never from the entry checks.
    std::optional<Parameters> checkedParameters();

    MainView& m_view;
    RunFlags& m_flags;
    OutputFile& m_outputFile;
    EventLog& m_events;
    DataLog& m_dataLog;
    Dialogs& m_dialogs;
    EventPump& m_pump;
    Collaborators m_parts;
    // Counts finishes, so that Start Run sees a Finish clicked while it let events run.
    unsigned m_finishes = 0;
};

} // namespace quorvane
