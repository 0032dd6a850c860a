#include "shell/MainController.h"

#include "logging/DisplayPanes.h"

#include <chrono>

namespace quorvane {

namespace {

// A message held back from a box goes to the events as one line.
std::string oneLine(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += " / ";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

MainController::MainController(MainView& view, const Services& services)
    : m_view(view), m_services(services), m_files(*services.files), m_gate(*services.dialogs),
      m_deferred(m_gate, *services.events), m_dialogs(m_deferred),
      m_runPump(*services.events, m_deferred),
      m_eventLog(*services.clock, m_sysTime, *view.txtEventLog, m_files, m_dialogs,
                 services.app->programFolder() + "/QuorvaneEvents.log"),
      m_dataLog(m_files, m_dialogs, m_outputFile),
      m_decoderDialogs(m_dialogs, *services.clock, std::chrono::seconds(60)),
      m_decoder(m_decoderDialogs), m_parser(view, m_flags, m_sysTime, *services.clock, m_decoder,
                                            m_eventLog, m_dataLog, m_dialogs),
      m_poller(*view.MSComm1, *view.txtComsDisplay, m_parser),
      m_serial(view, m_eventLog, m_dialogs), m_fieldFormatter(m_gate),
      m_run(view, m_flags, m_outputFile, m_eventLog, m_dataLog, m_fieldFormatter, m_dialogs,
            *services.app, m_runPump, m_files, *services.recordWatchTimer, *services.clock),
      m_settings(*services.settings, view, m_outputFile, *services.app) {
    connectControls();
}

void MainController::connectControls() {
    m_view.tmrCheckSerialInput->onTick([this] { m_poller.tick(); });
    m_view.cmdClearEventsDisplay->onClicked([this] { clearPane(*m_view.txtEventLog); });
    m_view.cmdClearLoggedDisplay->onClicked([this] { clearPane(*m_view.txtLoggedDataDisplay); });
    m_view.cmdClearSerialDisplay->onClicked([this] { clearPane(*m_view.txtComsDisplay); });
    m_parser.onRecordLogged([this] { m_run.watchdog().recordLogged(); });
    m_gate.onHeldBack([this](const std::string& text) { reportHeldBack(text); });
    m_dialogs.onHeldBack([this](const std::string& text) { reportHeldBack(text); });
    m_decoderDialogs.onHeldBack([this](const std::string& text) { reportHeldBack(text); });
    // A heater-off owed since the port was lost goes out as soon as a menu opens a port.
    m_serial.onOpened([this] { m_run.commands().portOpened(); });
    m_dataLog.onRecovered([this](std::size_t written, std::size_t dropped) {
        std::string text =
            "Data logfile writable again: " + std::to_string(written) + " held data lines written.";
        if (dropped > 0) {
            text += " " + std::to_string(dropped) + " oldest held lines were dropped.";
        }
        m_eventLog.logEvent(text);
    });
    m_dataLog.onRetried(
        [this](const std::string& path, std::size_t written, std::size_t unwritten) {
            m_eventLog.logEvent("Held data lines: " + std::to_string(written) + " written to " +
                                path + ", " + std::to_string(unwritten) + " could not be written.");
        });
}

void MainController::reportHeldBack(const std::string& message) {
    m_eventLog.logEvent("(message not shown) " + oneLine(message));
}

std::string MainController::caption(const Version& version) {
    return "Kelmont Quorvane  Vsn:" + std::to_string(version.major) + "." +
           std::to_string(version.minor) + "." + std::to_string(version.revision);
}

void MainController::load() {
    m_dialogs.begin();
    m_settings.loadSettings();
    m_settingsLoaded = true;
    m_eventLog.logEvent("Program loaded.");
    m_view.chkHeaterEnabled->setChecked(false);
    m_serial.configureSerialPort();
    m_run.comsCheck();
    m_run.sendHeaterOffNow();
    // The load's boxes open now, after its commands. A stop may come while one is open;
    // the rest of the load is then skipped.
    m_deferred.showQueuedNow();
    if (m_unloaded) {
        m_dialogs.end();
        return;
    }
    m_services.events->processPendingEvents();
    if (m_unloaded) {
        m_dialogs.end();
        return;
    }
    m_flags.runInProgress = false;
    m_flags.runStarted = false;
    m_flags.heatCycleComplete = false;
    m_view.tmrHeatTime->setEnabled(false);
    m_view.tmrHeatDelay->setEnabled(false);
    m_view.tmrLogInterval->setEnabled(false);
    m_view.tmrCheckSerialInput->setEnabled(true);
    m_view.tmrOneSecond->setEnabled(false);
    m_run.setGuiState(0);
    m_view.txtEventLog->setWrapping(false);
    m_view.txtComsDisplay->setWrapping(false);
    m_view.frmMain->setCaption(caption(m_services.app->version()));
    m_dialogs.end();
}

void MainController::unload() {
    shutDown(nullptr);
}

void MainController::unloadForLostDisplay() {
    shutDown("Display connection lost.");
}

void MainController::shutDown(const char* note) {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_dialogs.end();
    // Whatever fails now goes to the events: no box may hold the shutdown up.
    m_gate.closeDown();
    m_run.sendHeaterOffNow();
    m_run.commands().close();
    // A record that reached the port in the last moments is read and logged before the
    // port closes.
    m_poller.tick();
    if (m_view.MSComm1->isOpen()) {
        m_view.MSComm1->close();
    }
    if (note) {
        m_eventLog.logEvent(note);
    }
    // No record will come to carry the held data lines into their file: one more try.
    m_dataLog.retryHeld(true);
    // Half-loaded settings are not written over the stored ones.
    if (m_settingsLoaded) {
        m_settings.saveSettings();
    }
    // Boxes still waiting for the event loop go to the events through the closed gate.
    m_deferred.showQueuedNow();
    // The window may stay behind another (the About box): nothing of it runs on.
    m_view.tmrCheckSerialInput->setEnabled(false);
    m_view.tmrOneSecond->setEnabled(false);
    m_view.tmrLogInterval->setEnabled(false);
    m_view.tmrHeatDelay->setEnabled(false);
    m_view.tmrHeatTime->setEnabled(false);
    m_files.close();
}

void MainController::menuClicked(SerialMenu menu, int index) {
    if (m_unloaded) {
        return;
    }
    if (menu == SerialMenu::Port) {
        // Another port is another line: silence on it says nothing about this run.
        m_run.watchdog().stop();
    }
    m_serial.menuClicked(menu, index);
}

} // namespace quorvane
