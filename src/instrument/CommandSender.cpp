#include "instrument/CommandSender.h"

#include "run/AppTitle.h"
#include "util/ErrorText.h"
#include "util/Util.h"

#include <cstdio>

namespace quorvane {

namespace {

constexpr std::int32_t kMaxPowerLevel = 200;
constexpr std::int32_t kMaxDuration = 86400;

const std::string kHeaterOff = "!P00 ";

// Commands that the safety override intercepts. The heater-off command itself always goes
// out: intercepting it would leave a heater on that the program believes is off (the
// start-up off, which runs with the box cleared, would never reach the instrument).
bool isSuppressible(const std::string& s) {
    if (s == kHeaterOff) {
        return false;
    }
    return s.find("!P") != std::string::npos || s.find("!Q") != std::string::npos;
}

} // namespace

CommandSender::CommandSender(MainView& view, RunFlags& flags, EventLog& events, Dialogs& dialogs,
                             RunStateView& states)
    : m_view(view), m_flags(flags), m_events(events), m_dialogs(dialogs), m_states(states) {}

std::string CommandSender::hex(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    return buffer;
}

bool CommandSender::sendCommand(const std::string& s) {
    return send(s, false);
}

bool CommandSender::send(const std::string& s, bool holdRepeatedFailure) {
    if (m_closed) {
        return true;
    }
    try {
        SerialPort& port = *m_view.MSComm1;
        if (!port.isOpen()) {
            port.open();
        }
        if (m_heaterOffOwed && s != kHeaterOff) {
            sendOwedHeaterOff();
        }
        if (!m_view.chkHeaterEnabled->isChecked() && isSuppressible(s)) {
            m_events.logEvent("(Heater commands suppressed)");
            return false;
        }
        port.write(s);
        m_heldDataRequestFailure.reset();
        return false;
    } catch (const std::exception& error) {
        const std::string detail = errorLine(error);
        if (holdRepeatedFailure) {
            if (m_heldDataRequestFailure == detail) {
                m_events.logEvent("Failed to send data request: " + detail);
                return true;
            }
            m_heldDataRequestFailure = detail;
        }
        m_dialogs.showMessage("SendCommand: Error sending command to Quorvane.\r\nCommand   :" + s +
                                  "\r\n" + detail,
                              kAppTitle);
        return true;
    }
}

void CommandSender::sendOwedHeaterOff() {
    m_view.MSComm1->write(kHeaterOff);
    m_heaterOffOwed = false;
    m_flags.heaterOn = false;
    m_states.setHeaterOffPending(false);
    m_events.logEvent("Heater off command sent now that the port is open again.");
}

void CommandSender::portOpened() {
    if (!m_heaterOffOwed || m_closed || !m_view.MSComm1->isOpen()) {
        return;
    }
    try {
        sendOwedHeaterOff();
    } catch (const std::exception&) {
        // Still owed: the next command tries again first, and reports its own failure.
    }
}

bool CommandSender::sendNCommand() {
    const bool failed = sendCommand("#HFN");
    m_events.logEvent("Sent wakeup command");
    return failed;
}

bool CommandSender::sendHCommand() {
    const bool failed = sendCommand("#HFH");
    m_events.logEvent("Sent N command");
    return failed;
}

bool CommandSender::sendTCommand() {
    return send("T", true);
}

void CommandSender::comsCheck() {
    sendNCommand();
    sendHCommand();
}

bool CommandSender::sendHeaterOffNow() {
    try {
        m_events.logEvent("Sending heater off command");
        if (!sendCommand(kHeaterOff)) {
            m_heaterOffOwed = false;
            m_flags.heaterOn = false;
            m_view.tmrHeatTime->setEnabled(false);
            m_states.setHeaterOffPending(false);
            m_states.setGuiState(m_flags.runInProgress ? RunStateView::kRunning
                                                       : RunStateView::kFinished);
        } else {
            m_events.logEvent("Failed to send heater off command");
            if (!m_closed) {
                // The program wants the heater off: the command goes out as soon as the
                // port takes it, and meanwhile the window does not say the heater is on.
                m_heaterOffOwed = true;
                m_states.setHeaterOffPending(true);
                if (m_states.shownState() == RunStateView::kHeating) {
                    m_states.setGuiState(m_flags.runInProgress ? RunStateView::kRunning
                                                               : RunStateView::kFinished);
                }
            }
        }
        return false;
    } catch (const std::exception& error) {
        m_dialogs.showMessage("sendHeaterOffNow: Error preparing command for Quorvane.\r\n" +
                                  errorLine(error),
                              kAppTitle);
        return true;
    }
}

bool CommandSender::sendPowerLevelCommand(std::int32_t powerLevel) {
    try {
        const std::string level = std::to_string(powerLevel);
        if (powerLevel < 0 || powerLevel > kMaxPowerLevel) {
            m_dialogs.showMessage("sendPowerLevelCommand: Invalid PowerLevel setting requested\r\n"
                                  "Requested Setting: " +
                                      level,
                                  kAppTitle);
            return true;
        }
        m_events.logEvent("Sending PowerLevel command  PowerLevel: " + level);
        if (!sendCommand("!P" + hex(powerLevel) + " ")) {
            m_flags.heaterOn = powerLevel >= 1;
        } else {
            m_events.logEvent("Failed to send PowerLevel command  PowerLevel: " + level);
        }
        return false;
    } catch (const std::exception& error) {
        m_dialogs.showMessage("sendPowerLevelCommand: Error preparing command for Quorvane.\r\n" +
                                  errorLine(error),
                              kAppTitle);
        return true;
    }
}

bool CommandSender::sendHeaterOnCommand(std::int32_t powerLevel, std::int32_t duration) {
    try {
        const std::string level = std::to_string(powerLevel);
        const std::string seconds = std::to_string(duration);
        if (powerLevel < 0 || powerLevel > kMaxPowerLevel) {
            m_dialogs.showMessage("sendHeaterOnCommand: Invalid PowerLevel setting requested\r\n"
                                  "Requested Setting: " +
                                      level,
                                  kAppTitle);
            return true;
        }
        if (duration < 0 || duration > kMaxDuration) {
            m_dialogs.showMessage("sendHeaterOnCommand: Invalid duration setting requested\r\n"
                                  "Requested Setting: " +
                                      seconds + "Seconds.",
                                  kAppTitle);
            return true;
        }
        m_events.logEvent("Sending heater on command. Duration: " + seconds +
                          "  PowerLevel: " + level);
        const std::string command =
            "!Q" + zeroPad(hex(duration), 4) + " " + zeroPad(hex(powerLevel), 2) + " ";
        if (!sendCommand(command)) {
            m_flags.heaterOn = true;
            m_view.tmrHeatTime->setInterval(static_cast<float>(duration));
            m_view.lblHeatTimeRemaining->setCaption(m_view.txtHeatTime->text());
            m_view.tmrHeatTime->setEnabled(true);
            m_states.setGuiState(RunStateView::kHeating);
        } else {
            m_events.logEvent("Failed to send heater on command. Duration: " + seconds +
                              "  PowerLevel: " + level);
        }
        return false;
    } catch (const std::exception& error) {
        m_dialogs.showMessage("sendHeaterOnCommand: Error preparing command for Quorvane.\r\n" +
                                  errorLine(error),
                              kAppTitle);
        return true;
    }
}

} // namespace quorvane
