#pragma once

#include "formatter/Formatter.h"
#include "instrument/InputParser.h"
#include "instrument/RecordDecoder.h"
#include "instrument/SerialConfigurator.h"
#include "instrument/SerialMenu.h"
#include "instrument/SerialPoller.h"
#include "logging/BoxHoldingPump.h"
#include "logging/ClosableTextFiles.h"
#include "logging/DataLog.h"
#include "logging/DeferredDialogs.h"
#include "logging/EventLog.h"
#include "logging/MessageGate.h"
#include "logging/OutputFile.h"
#include "logging/RepeatedFailureFilter.h"
#include "logging/ThrottledDialogs.h"
#include "platform/MainView.h"
#include "platform/Services.h"
#include "run/RunController.h"
#include "run/RunFlags.h"
#include "shell/PersistentSettings.h"

#include <string>

namespace quorvane {

// Everything the main window owns besides its controls, and the order in which the window
// comes up and goes down. It sees the window only through the MainView.
class MainController {
public:
    MainController(MainView& view, const Services& services);
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    // The window's load: settings, serial port, wake-up, heater off, timers, idle state.
    // The boxes of the load open once its commands (the heater-off last) have gone out; a
    // failure that repeats within the load goes to the Events pane only.
    void load();
    // The window's unload: heater off while the port is open, what waits on the port read
    // and logged, port closed, held data lines tried once more, settings saved (unless the
    // load had not read them all yet), timers stopped. Runs once; after it no box is shown
    // and nothing is written, so a handler still under way ends inert.
    void unload();
    // The same, when the display has gone away; an event says so.
    void unloadForLostDisplay();
    bool isUnloaded() const { return m_unloaded; }

    void menuClicked(SerialMenu menu, int index);

    static std::string caption(const Version& version);

    RunController& run() { return m_run; }
    RunFlags& flags() { return m_flags; }
    OutputFile& outputFile() { return m_outputFile; }
    EventLog& eventLog() { return m_eventLog; }
    InputParser& parser() { return m_parser; }
    DataLog& dataLog() { return m_dataLog; }
    DeferredDialogs& deferredDialogs() { return m_deferred; }

private:
    void connectControls();
    void reportHeldBack(const std::string& message);
    void shutDown(const char* note);

    MainView& m_view;
    Services m_services;
    SystemTime m_sysTime;
    RunFlags m_flags;
    OutputFile m_outputFile;
    ClosableTextFiles m_files;
    MessageGate m_gate;
    DeferredDialogs m_deferred;
    // What the logic shows its boxes through: deferred to the event loop, and at start-up
    // without repeats.
    RepeatedFailureFilter m_dialogs;
    // Start Run's pass of the waiting events opens no box.
    BoxHoldingPump m_runPump;
    EventLog m_eventLog;
    DataLog m_dataLog;
    ThrottledDialogs m_decoderDialogs;
    RecordDecoder m_decoder;
    InputParser m_parser;
    SerialPoller m_poller;
    SerialConfigurator m_serial;
    // Keeps no state, so it can exist before the load: the run's reactions need it as soon
    // as the settings write the fields. Its message about a refused value is the operator's
    // own answer and comes at once, before the focus goes back to the field.
    Formatter m_fieldFormatter;
    RunController m_run;
    PersistentSettings m_settings;
    bool m_settingsLoaded = false;
    bool m_unloaded = false;
};

} // namespace quorvane
